#pragma once
// The Filter menu (third menu of the log window's menu bar) as the filter
// model changes it.
#include <windows.h>

#include "model/filter_model.h"
#include "model/platform_text.h"

namespace quarent::brnlog {

// Position of the Filter menu in the log window's menu bar.
constexpr int kFilterMenuPosition = 2;

class WindowFilterMenu : public FilterMenu {
 public:
  // `window` may be null (no log window): the menu is then not available.
  WindowFilterMenu(HWND window, const PlatformText& text) : window_(window), text_(text) {}

  bool Available() const override { return Submenu() != nullptr; }
  void AppendCheckedItem(int commandId, std::u16string_view text) override;
  void InsertCheckedItem(int position, int commandId, std::u16string_view text) override;
  void InsertSeparator(int position) override;
  bool IsChecked(int commandId) const override;
  void SetChecked(int commandId, bool checked) override;

  // The Filter menu, or null.
  HMENU Submenu() const;

 private:
  // Menu text of an item: ANSI, at most 4095 bytes.
  std::string ItemText(std::u16string_view text) const;

  HWND window_;
  const PlatformText& text_;
};

}  // namespace quarent::brnlog
