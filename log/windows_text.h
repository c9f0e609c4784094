#pragma once
// The platform's text handling for the portable log code: the system ANSI
// code page (CP_ACP) and the user's date format.
#include <windows.h>
#include <oleauto.h>

#include <optional>
#include <string>

#include "model/platform_text.h"

namespace quarent::brnlog {

class WindowsText : public PlatformText {
 public:
  std::string ToAnsi(std::u16string_view text) const override;
  std::u16string FromAnsi(std::string_view text) const override;
  bool IsLeadByte(unsigned char byte) const override;
  // VarBstrFromDate with the user's default locale: the date, the time or both.
  std::string FormatDate(double date) const override;
  std::optional<double> ParseDate(std::string_view text) const override;
};

// The code units of an automation string; nothing for a null string.
std::optional<std::u16string> TextOfBstr(BSTR text);

}  // namespace quarent::brnlog
