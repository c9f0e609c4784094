#pragma once
// What the service tests share as clients of QUARENT.QRNOrtivo.
#include <windows.h>
#include <winsvc.h>
#undef StartService

#include <string>

#include "QRNNTSrv_h.h"
#include "common/com_ptr.h"

namespace test {

using quarent::ComPtr;

// Registers QRNNTSrv.dll in this test's prefix (once per process).
void RegisterServiceComponent();

// Creates the object by its ProgID; null (with the status in `status`) on failure.
ComPtr<IOrtivo> CreateOrtivo(HRESULT* status = nullptr);

// A fresh automation string owned by the caller's scope.
class Text {
 public:
  explicit Text(const wchar_t* text) : text_(SysAllocString(text)) {}
  explicit Text(const std::wstring& text) : text_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~Text() { SysFreeString(text_); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  operator BSTR() const { return text_; }

 private:
  BSTR text_;
};

// Takes an [out] string and frees it.
std::wstring TakeString(BSTR text);

// HMODULE of QRNNTSrv.dll once an object has loaded it.
HMODULE ServiceModule();

// Clears the thread's error information.
void ClearErrorInfo();

// Expects the thread's error information to be `text` from IOrtivo and the
// class's ProgID (and takes it).
void ExpectErrorText(const wchar_t* text);

// Pumps this thread's messages for `milliseconds`.
void PumpMessages(DWORD milliseconds);

}  // namespace test
