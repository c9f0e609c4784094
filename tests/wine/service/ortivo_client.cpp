#include "ortivo_client.h"

#include <gtest/gtest.h>

#include "com_client.h"
#include "processes.h"

namespace test {

void RegisterServiceComponent() {
  static const long registered = RegisterServer(L"QRNNTSrv.dll");
  ASSERT_EQ(registered, 0) << "regsvr32 QRNNTSrv.dll";
}

ComPtr<IOrtivo> CreateOrtivo(HRESULT* status) {
  CLSID classId;
  HRESULT result = CLSIDFromProgID(L"QUARENT.QRNOrtivo", &classId);
  ComPtr<IOrtivo> object;
  if (SUCCEEDED(result)) {
    result = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IOrtivo, object.ReceiveVoid());
  }
  if (status) *status = result;
  return object;
}

std::wstring TakeString(BSTR text) {
  std::wstring result = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return result;
}

void OrtivoTest::SetUp() {
  RegisterServiceComponent();
  HRESULT status = E_FAIL;
  ortivo = CreateOrtivo(&status);
  ASSERT_TRUE(ortivo) << Hex(status);
}

void OrtivoTest::UseServiceName(const wchar_t* name) {
  ASSERT_EQ(ortivo->put_ServiceName(Text(name)), S_OK);
}

HMODULE ServiceModule() { return GetModuleHandleW(L"QRNNTSrv.dll"); }

void ClearErrorInfo() { SetErrorInfo(0, nullptr); }

void ExpectErrorText(const wchar_t* text) {
  const ErrorInfoText error = TakeErrorInfo();
  ASSERT_TRUE(error.present) << "no error information";
  EXPECT_EQ(error.description, text);
  EXPECT_EQ(error.source, L"QUARENT.QRNOrtivo.1");
  EXPECT_TRUE(IsEqualGUID(error.interfaceId, IID_IOrtivo));
}

void PumpMessages(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  MSG message;
  while (GetTickCount() - start < milliseconds) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

}  // namespace test
