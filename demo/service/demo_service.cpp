// A small Windows service built on QUARENT.QRNOrtivo.
//   demo_service.exe install     installs this program as the service "QuarentDemo"
//   demo_service.exe uninstall   removes it again
//   demo_service.exe             (started by the service control manager) runs
//                                the service; a service has no console, so it
//                                writes what it receives to C:\quarent_demo_service.txt
#include <windows.h>
#include <winsvc.h>
#undef StartService

#include <cstdio>
#include <fstream>
#include <string>

#include "QRNNTSrv_h.h"

namespace {

const char kJournal[] = "C:\\quarent_demo_service.txt";

void Journal(const std::string& line) {
  std::ofstream(kJournal, std::ios::app) << line << "\n";
}

// Receives the object's events and answers Start, Pause and Continue with yes.
class DemoEvents : public IDispatch {
 public:
  explicit DemoEvents(IOrtivo* ortivo) : ortivo_(ortivo) {}
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, DIID__IOrtivoEvents)) {
      *object = static_cast<IDispatch*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives on main's stack
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*, UINT*) override {
    switch (id) {
      case 0:
        Journal("Start: the manager asks the service to start; answering yes and starting a 1 s timer");
        *parameters->rgvarg[0].pboolVal = VARIANT_TRUE;
        ortivo_->StartTimer(1, 1000);
        break;
      case 1:
        Journal("Stop: the manager asks the service to stop");
        break;
      case 3:
        Journal("Pause: answering yes");
        *parameters->rgvarg[0].pboolVal = VARIANT_TRUE;
        break;
      case 4:
        Journal("Continue: answering yes");
        *parameters->rgvarg[0].pboolVal = VARIANT_TRUE;
        break;
      case 5:
        Journal("Control: user-defined control code " + std::to_string(parameters->rgvarg[0].lVal));
        break;
      case 6:
        Journal("Timer: timer " + std::to_string(parameters->rgvarg[0].lVal) + " is due");
        ortivo_->StopTimer(parameters->rgvarg[0].lVal);
        break;
    }
    return S_OK;
  }

 private:
  IOrtivo* ortivo_;
};

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IOrtivo* ortivo = nullptr;
  CLSID classId;
  HRESULT status = CLSIDFromProgID(L"QUARENT.QRNOrtivo", &classId);
  if (SUCCEEDED(status)) {
    status = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IOrtivo, reinterpret_cast<void**>(&ortivo));
  }
  if (FAILED(status)) {
    std::printf("QUARENT.QRNOrtivo could not be created: 0x%08lX\n", static_cast<unsigned long>(status));
    return 2;
  }
  BSTR name = SysAllocString(L"QuarentDemo");
  BSTR display = SysAllocString(L"QUARENT Demo Service");
  ortivo->put_ServiceName(name);
  ortivo->put_DisplayName(display);
  SysFreeString(name);
  SysFreeString(display);
  ortivo->put_ControlsAccepted(static_cast<Constants_Controls>(qrnCtrlStartStop | qrnCtrlPauseContinue));

  int exitCode = 0;
  VARIANT_BOOL done = VARIANT_FALSE;
  if (command == "install") {
    status = ortivo->Install(&done);
    std::printf("Install: %s (status 0x%08lX)\n", done ? "installed" : "not installed", static_cast<unsigned long>(status));
    exitCode = done ? 0 : 1;
  } else if (command == "uninstall") {
    status = ortivo->Uninstall(&done);
    std::printf("Uninstall: %s (status 0x%08lX)\n", done ? "removed" : "not removed", static_cast<unsigned long>(status));
    exitCode = done ? 0 : 1;
  } else {
    DemoEvents events(ortivo);
    IConnectionPointContainer* container = nullptr;
    IConnectionPoint* point = nullptr;
    DWORD cookie = 0;
    ortivo->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    container->FindConnectionPoint(DIID__IOrtivoEvents, &point);
    point->Advise(&events, &cookie);
    Journal("The service process has started and connects to the service control manager");
    ortivo->StartService(VARIANT_TRUE, &done);
    Journal("The service has stopped; the process ends");
    point->Unadvise(cookie);
    point->Release();
    container->Release();
  }
  ortivo->Release();
  CoUninitialize();
  return exitCode;
}
