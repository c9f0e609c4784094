#include "common/automation_types.h"

namespace quarent {
namespace {

std::string Narrow(UINT codePage, const wchar_t* text, size_t length) {
  if (text == nullptr || length == 0) return {};
  const int size = WideCharToMultiByte(codePage, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(codePage, 0, text, static_cast<int>(length), result.data(), size, nullptr, nullptr);
  return result;
}

}  // namespace

std::string ToAnsi(const wchar_t* text, UINT length) { return Narrow(CP_ACP, text, length); }

std::string ToUtf8(std::wstring_view text) { return Narrow(CP_UTF8, text.data(), text.size()); }

std::optional<std::string> ToAnsiExactly(BSTR text) {
  const int length = static_cast<int>(SysStringLen(text));
  if (length == 0) return std::string();
  // A UTF-8 system code page (which only systems that know this flag have)
  // holds every character and takes no default character; only unpaired
  // surrogates fail there.
  constexpr DWORD kFailOnInvalidCharacters = 0x80;  // WC_ERR_INVALID_CHARS
  const bool utf8 = GetACP() == CP_UTF8;
  const UINT codePage = utf8 ? CP_UTF8 : CP_ACP;
  const DWORD flags = utf8 ? kFailOnInvalidCharacters : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultFlag = utf8 ? nullptr : &usedDefault;
  const int size = WideCharToMultiByte(codePage, flags, text, length, nullptr, 0, nullptr, usedDefaultFlag);
  if (size <= 0 || usedDefault) return std::nullopt;
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(codePage, flags, text, length, result.data(), size, nullptr, nullptr);
  return result;
}

std::wstring AnsiToWide(std::string_view text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return {};
  std::wstring result(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), result.data(), size);
  return result;
}

BSTR AnsiToBstr(std::string_view text) {
  const std::wstring wide = AnsiToWide(text);
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

}  // namespace quarent
