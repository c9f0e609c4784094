// Prints how long the service object's settings and event-log calls take
// under the platform it runs on. Asserts nothing.
#include <windows.h>
#include <winsvc.h>
#undef StartService

#include <cstdio>
#include <string>

#include "QRNNTSrv_h.h"
#include "processes.h"

namespace {

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1e6 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <class Call>
void Measure(const char* what, int count, Call call) {
  LARGE_INTEGER start;
  LARGE_INTEGER end;
  QueryPerformanceCounter(&start);
  for (int index = 0; index < count; ++index) call(index);
  QueryPerformanceCounter(&end);
  std::printf("%-44s %8.1f us per call (%d calls)\n", what, Microseconds(start, end) / count, count);
}

}  // namespace

int main() {
  if (test::RegisterServer(L"QRNNTSrv.dll") != 0) {
    std::printf("QRNNTSrv.dll could not be registered\n");
    return 1;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CLSID classId;
  IOrtivo* ortivo = nullptr;
  if (FAILED(CLSIDFromProgID(L"QUARENT.QRNOrtivo", &classId)) ||
      FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IOrtivo, reinterpret_cast<void**>(&ortivo)))) {
    std::printf("QUARENT.QRNOrtivo is not registered\n");
    return 1;
  }
  BSTR name = SysAllocString(L"QuarentBenchmark");
  BSTR section = SysAllocString(L"Bench");
  BSTR value = SysAllocString(L"a setting value of some forty characters");
  ortivo->put_ServiceName(name);
  VARIANT omitted;
  VariantInit(&omitted);
  omitted.vt = VT_ERROR;
  omitted.scode = DISP_E_PARAMNOTFOUND;

  const int count = 2000;
  Measure("SaveSetting (new key each call)", count, [&](int index) {
    BSTR key = SysAllocString((L"Key" + std::to_wstring(index)).c_str());
    ortivo->SaveSetting(section, key, value);
    SysFreeString(key);
  });
  Measure("GetSetting (existing value)", count, [&](int index) {
    BSTR key = SysAllocString((L"Key" + std::to_wstring(index)).c_str());
    BSTR result = nullptr;
    ortivo->GetSetting(section, key, omitted, &result);
    SysFreeString(result);
    SysFreeString(key);
  });
  Measure("GetAllSettings (2000 values)", 20, [&](int) {
    VARIANT all;
    VariantInit(&all);
    ortivo->GetAllSettings(section, &all);
    VariantClear(&all);
  });
  Measure("LogEvent (information, message 110)", count, [&](int) {
    VARIANT_BOOL written = 0;
    ortivo->LogEvent(qrnEventInformation, qrnMessageInfo, value, &written);
  });
  ortivo->DeleteSetting(section, omitted);
  SysFreeString(name);
  SysFreeString(section);
  SysFreeString(value);
  ortivo->Release();
  CoUninitialize();
  return 0;
}
