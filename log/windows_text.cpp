#include "windows_text.h"

#include "common/automation_types.h"

namespace quarent::brnlog {
namespace {

const wchar_t* AsWide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

}  // namespace

std::string WindowsText::ToAnsi(std::u16string_view text) const {
  return quarent::ToAnsi(AsWide(text.data()), static_cast<UINT>(text.size()));
}

std::u16string WindowsText::FromAnsi(std::string_view text) const {
  const std::wstring wide = AnsiToWide(text);
  return std::u16string(reinterpret_cast<const char16_t*>(wide.data()), wide.size());
}

bool WindowsText::IsLeadByte(unsigned char byte) const { return IsDBCSLeadByte(byte) != FALSE; }

std::string WindowsText::FormatDate(double date) const {
  Bstr text;
  if (FAILED(VarBstrFromDate(date, LOCALE_USER_DEFAULT, 0, text.Receive()))) return {};
  return quarent::ToAnsi(text.Get());
}

std::optional<double> WindowsText::ParseDate(std::string_view text) const {
  std::wstring wide = AnsiToWide(text);
  DATE date = 0;
  if (FAILED(VarDateFromStr(wide.data(), LOCALE_USER_DEFAULT, 0, &date))) return std::nullopt;
  return date;
}

std::optional<std::u16string> TextOfBstr(BSTR text) {
  if (text == nullptr) return std::nullopt;
  return std::u16string(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
}

}  // namespace quarent::brnlog
