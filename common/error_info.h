#pragma once
// Status results and the automation error information of the components.
#include <windows.h>
#include <oaidl.h>

#include <string>

namespace quarent {

// 0x80070000 | (error & 0xFFFF) for a platform error code; S_OK for 0.
HRESULT StatusFromPlatformError(DWORD error);

// Text `id` of this module's string table, or an empty string when missing.
std::wstring LoadModuleString(UINT id);

// Sets the calling thread's error information to text `textId` of the
// module's string table ("Unknown Error" when the table has no such text),
// with interface `iid` and `source` (the class's registered ProgID), and
// returns `status`.
HRESULT ReportError(HRESULT status, UINT textId, REFIID iid, const wchar_t* source);

// ISupportErrorInfo answering S_OK for `Interface` only.
template <class Interface>
class SupportErrorInfoFor : public ISupportErrorInfo {
 public:
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID iid) override {
    return IsEqualIID(iid, __uuidof(Interface)) ? S_OK : S_FALSE;
  }
};

}  // namespace quarent
