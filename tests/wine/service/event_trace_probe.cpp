// Writes one error entry (message 109, "probe text") through LogEvent and
// exits; ctest runs it with Wine's event-log tracing on and checks that the
// real ReportEventA received the type, the id and the insertion string.
#include <cstdio>

#include "ortivo_client.h"
#include "processes.h"

int main() {
  if (test::RegisterServer(L"QRNNTSrv.dll") != 0) return 2;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int exitCode = 1;
  {
    test::ComPtr<IOrtivo> ortivo = test::CreateOrtivo();
    if (ortivo) {
      ortivo->put_ServiceName(test::Text(L"QuarentProbe"));
      VARIANT_BOOL written = 0;
      const HRESULT status = ortivo->LogEvent(qrnEventError, qrnMessageError, test::Text(L"probe text"), &written);
      std::printf("LogEvent 0x%08lX %d\n", static_cast<unsigned long>(status), written);
      std::fflush(stdout);
      if (status == S_OK && written == VARIANT_TRUE) exitCode = 0;
    }
  }
  CoUninitialize();
  return exitCode;
}
