#pragma once
// Owners of automation strings, variants and safe arrays, and the conversion of
// automation strings to and from the system ANSI code page (CP_ACP).
#include <windows.h>
#include <oleauto.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quarent {

// Automation string owned by this object. A null string is a valid, empty value.
class Bstr {
 public:
  Bstr() = default;
  explicit Bstr(const wchar_t* text) : text_(text ? SysAllocString(text) : nullptr) {}
  Bstr(Bstr&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.text_, nullptr));
    return *this;
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { Reset(); }

  // Takes ownership of a string the caller allocated.
  static Bstr Adopt(BSTR text) {
    Bstr result;
    result.text_ = text;
    return result;
  }

  BSTR Get() const { return text_; }
  // Length in characters; 0 for a null string.
  UINT Length() const { return SysStringLen(text_); }
  // Gives the string to the caller (for an [out] parameter).
  BSTR Detach() { return std::exchange(text_, nullptr); }
  BSTR* Receive() {
    Reset();
    return &text_;
  }
  void Reset(BSTR text = nullptr) {
    BSTR old = std::exchange(text_, text);
    if (old) SysFreeString(old);
  }

 private:
  BSTR text_ = nullptr;
};

// Variant owned by this object, cleared when it goes.
class Variant {
 public:
  Variant() { VariantInit(&value_); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  ~Variant() { VariantClear(&value_); }

  VARIANT* Get() { return &value_; }
  const VARIANT* Get() const { return &value_; }
  VARIANT* operator->() { return &value_; }
  const VARIANT* operator->() const { return &value_; }
  // Clears the current value and returns the location for an [out] VARIANT.
  VARIANT* Receive() {
    VariantClear(&value_);
    return &value_;
  }

 private:
  VARIANT value_;
};

// Safe array owned by this object.
class SafeArray {
 public:
  SafeArray() = default;
  explicit SafeArray(SAFEARRAY* array) : array_(array) {}
  SafeArray(SafeArray&& other) noexcept : array_(std::exchange(other.array_, nullptr)) {}
  SafeArray(const SafeArray&) = delete;
  SafeArray& operator=(const SafeArray&) = delete;
  ~SafeArray() {
    if (array_) SafeArrayDestroy(array_);
  }
  SAFEARRAY* Get() const { return array_; }
  SAFEARRAY* Detach() { return std::exchange(array_, nullptr); }

 private:
  SAFEARRAY* array_ = nullptr;
};

// VARIANT_TRUE or VARIANT_FALSE.
constexpr VARIANT_BOOL AsVariantBool(bool value) { return value ? VARIANT_TRUE : VARIANT_FALSE; }

// Converts `length` characters of `text` to the system ANSI code page.
// A null text gives an empty string.
std::string ToAnsi(const wchar_t* text, UINT length);

// Converts a whole automation string to the system ANSI code page.
inline std::string ToAnsi(BSTR text) { return ToAnsi(text, SysStringLen(text)); }

// Converts wide text to UTF-8.
std::string ToUtf8(std::wstring_view text);

// Converts a whole automation string to the system ANSI code page only when
// every character has its own form there: nothing when a character would
// become a best-fit look-alike ("A" for U+FF21) or the default character.
std::optional<std::string> ToAnsiExactly(BSTR text);

// Converts ANSI text to a wide string.
std::wstring AnsiToWide(std::string_view text);

// Converts ANSI text to a new automation string; null when out of memory.
BSTR AnsiToBstr(std::string_view text);

}  // namespace quarent
