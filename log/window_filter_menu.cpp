#include "window_filter_menu.h"

#include "model/value_text.h"

namespace quarent::brnlog {

HMENU WindowFilterMenu::Submenu() const {
  if (!window_ || !IsWindow(window_)) return nullptr;
  HMENU bar = GetMenu(window_);
  if (!bar || !IsMenu(bar)) return nullptr;
  return GetSubMenu(bar, kFilterMenuPosition);
}

std::string WindowFilterMenu::ItemText(std::u16string_view text) const {
  const std::string ansi = text_.ToAnsi(text);
  return std::string(LimitAnsiText(ansi, kMaxTextBytes, text_));
}

void WindowFilterMenu::AppendCheckedItem(int commandId, std::u16string_view text) {
  HMENU menu = Submenu();
  if (!menu) return;
  const std::string itemText = ItemText(text);
  AppendMenuA(menu, MF_STRING | MF_CHECKED, static_cast<UINT_PTR>(commandId), itemText.c_str());
}

void WindowFilterMenu::InsertCheckedItem(int position, int commandId, std::u16string_view text) {
  HMENU menu = Submenu();
  if (!menu) return;
  std::string itemText = ItemText(text);
  MENUITEMINFOA item = {};
  item.cbSize = sizeof item;
  item.fMask = MIIM_ID | MIIM_STATE | MIIM_TYPE;
  item.fType = MFT_STRING;
  item.fState = MFS_CHECKED;
  item.wID = static_cast<UINT>(commandId);
  item.dwTypeData = itemText.data();
  InsertMenuItemA(menu, static_cast<UINT>(position), TRUE, &item);
}

void WindowFilterMenu::InsertSeparator(int position) {
  HMENU menu = Submenu();
  if (!menu) return;
  MENUITEMINFOA item = {};
  item.cbSize = sizeof item;
  item.fMask = MIIM_TYPE;
  item.fType = MFT_SEPARATOR;
  InsertMenuItemA(menu, static_cast<UINT>(position), TRUE, &item);
}

bool WindowFilterMenu::IsChecked(int commandId) const {
  HMENU menu = Submenu();
  if (!menu) return false;
  MENUITEMINFOA item = {};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STATE;
  if (!GetMenuItemInfoA(menu, static_cast<UINT>(commandId), FALSE, &item)) return false;
  return (item.fState & MFS_CHECKED) != 0;
}

void WindowFilterMenu::SetChecked(int commandId, bool checked) {
  HMENU menu = Submenu();
  if (!menu) return;
  CheckMenuItem(menu, static_cast<UINT>(commandId), MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

}  // namespace quarent::brnlog
