#include "common/error_info.h"

#include <windows.h>

#include "common/automation_types.h"
#include "common/com_ptr.h"
#include "common/module.h"

namespace quarent {

HRESULT StatusFromPlatformError(DWORD error) {
  if (error == 0) return S_OK;
  return static_cast<HRESULT>(0x80070000u | (error & 0xFFFFu));
}

std::wstring LoadModuleString(UINT id) {
  // With a buffer size of 0, LoadStringW points at the resource text itself.
  const wchar_t* text = nullptr;
  const int length = LoadStringW(module::Instance(), id, reinterpret_cast<wchar_t*>(&text), 0);
  if (length <= 0 || text == nullptr) return {};
  return std::wstring(text, static_cast<size_t>(length));
}

HRESULT ReportError(HRESULT status, UINT textId, REFIID iid, const wchar_t* source) {
  std::wstring text = LoadModuleString(textId);
  if (text.empty()) text = L"Unknown Error";

  ComPtr<ICreateErrorInfo> creator;
  if (FAILED(CreateErrorInfo(creator.Receive()))) return status;
  creator->SetGUID(iid);
  creator->SetSource(const_cast<wchar_t*>(source));
  creator->SetDescription(text.data());
  ComPtr<IErrorInfo> info = creator.As<IErrorInfo>();
  if (info) SetErrorInfo(0, info.Get());
  return status;
}

}  // namespace quarent
