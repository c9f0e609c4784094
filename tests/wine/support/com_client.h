#pragma once
// Client-side helpers for the Wine tests: apartments, late-bound calls by name,
// error information and readable status results.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <initializer_list>
#include <string>

namespace test {

// Joins a single-threaded (or multithreaded) apartment for the scope.
class Apartment {
 public:
  explicit Apartment(DWORD model = COINIT_APARTMENTTHREADED) { status_ = CoInitializeEx(nullptr, model); }
  ~Apartment() {
    if (SUCCEEDED(status_)) CoUninitialize();
  }
  HRESULT Status() const { return status_; }

 private:
  HRESULT status_;
};

// An automation string owned for the scope: from wide text, or from text in
// the ANSI code page.
class Text {
 public:
  explicit Text(const wchar_t* text) : text_(SysAllocString(text)) {}
  explicit Text(const std::wstring& text) : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  explicit Text(const std::string& ansi);
  ~Text() { SysFreeString(text_); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  operator BSTR() const { return text_; }

 private:
  BSTR text_;
};

// "0x80004003" style text of a status result.
std::string Hex(HRESULT status);

// A variant holding a copy of `text` / a long / a boolean; the caller clears it.
VARIANT StringArgument(const wchar_t* text);
VARIANT LongArgument(long value);
VARIANT BoolArgument(bool value);

// Result of a late-bound call.
struct DispatchResult {
  HRESULT status = E_FAIL;
  VARIANT value;
  EXCEPINFO exception = {};
  UINT argumentError = ~0u;  // the position Invoke names for a refused argument
  DispatchResult();
  ~DispatchResult();
  DispatchResult(const DispatchResult&) = delete;
  DispatchResult& operator=(const DispatchResult&) = delete;
};

// Looks `name` up with GetIDsOfNames and calls it through IDispatch::Invoke
// with `flags` (DISPATCH_METHOD, DISPATCH_PROPERTYGET, ...) and `arguments` in
// natural order. The arguments are cleared afterwards.
void CallByName(IDispatch* object, const wchar_t* name, WORD flags, std::initializer_list<VARIANT> arguments,
                DispatchResult& result);

// Error information of the calling thread, taken (and cleared) once.
struct ErrorInfoText {
  bool present = false;
  std::wstring description;
  std::wstring source;
  GUID interfaceId = GUID_NULL;
};
ErrorInfoText TakeErrorInfo();

// Narrow text of a wide string (for test messages).
std::string Narrow(const std::wstring& text);

}  // namespace test
