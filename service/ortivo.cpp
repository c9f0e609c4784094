#include "ortivo.h"

#include <new>

#include "common/about_box.h"
#include "common/property_access.h"
#include "resource.h"
#include "service_config_rules.h"
#include "service_installer.h"

namespace quarent::service {
namespace {

// Objects of the class alive in the process, for the one-object rule.
LONG instanceCount = 0;

enum EventId : DISPID {
  kEventStart = 0,
  kEventStop = 1,
  kEventPause = 3,
  kEventContinue = 4,
  kEventControl = 5,
  kEventTimer = 6,
};

bool IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace

Ortivo::Ortivo(IUnknown* outer)
    : ComObject(outer),
      firstInProcess_(InterlockedIncrement(&instanceCount) == 1),
      events_(*this, DIID__IOrtivoEvents, lock_),
      runtime_(*this, log_) {
  // Empty, not null: Install then passes an empty display name.
  displayName_ = Bstr(L"");
}

Ortivo::~Ortivo() {
  if (counted_) {
    runtime_.Shutdown();
    if (ServiceRuntime::Current() == &runtime_) ServiceRuntime::SetCurrent(nullptr);
  }
  InterlockedDecrement(&instanceCount);
}

HRESULT Ortivo::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
  Ortivo* instance = new (std::nothrow) Ortivo(outer);
  if (instance == nullptr) return E_OUTOFMEMORY;
  IUnknown* inner = instance->InnerUnknown();
  inner->AddRef();
  HRESULT status = instance->FinalConstruct();
  if (SUCCEEDED(status)) status = inner->QueryInterface(iid, object);
  inner->Release();  // destroys a refused object
  return status;
}

HRESULT Ortivo::FinalConstruct() {
  if (!firstInProcess_) return Fail(E_FAIL, IDS_ONE_INSTANCE);
  counted_ = true;
  ServiceRuntime::SetCurrent(&runtime_);
  return S_OK;
}

void* Ortivo::FindInterface(REFIID iid) {
  if (IsEqualIID(iid, IID_IOrtivo) || IsEqualIID(iid, IID_IDispatch)) return static_cast<IOrtivo*>(this);
  if (IsEqualIID(iid, IID_ISupportErrorInfo)) return static_cast<ISupportErrorInfo*>(this);
  if (IsEqualIID(iid, IID_IConnectionPointContainer)) return static_cast<IConnectionPointContainer*>(this);
  if (IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_IProvideClassInfo2)) {
    return static_cast<IProvideClassInfo2*>(this);
  }
  return nullptr;
}

HRESULT Ortivo::Fail(HRESULT status, UINT textId) {
  return ReportError(status, textId, IID_IOrtivo, L"QUARENT.QRNOrtivo.1");
}

STDMETHODIMP Ortivo::get_Account(BSTR* value) { return StringOut(account_, value); }
STDMETHODIMP Ortivo::put_Account(BSTR value) { return StringIn(value, account_); }
STDMETHODIMP Ortivo::get_Password(BSTR* value) { return StringOut(password_, value); }
STDMETHODIMP Ortivo::put_Password(BSTR value) { return StringIn(value, password_); }
STDMETHODIMP Ortivo::get_LoadOrderGroup(BSTR* value) { return StringOut(loadOrderGroup_, value); }
STDMETHODIMP Ortivo::put_LoadOrderGroup(BSTR value) { return StringIn(value, loadOrderGroup_); }
STDMETHODIMP Ortivo::get_Dependencies(BSTR* value) { return StringOut(dependencies_, value); }
STDMETHODIMP Ortivo::put_Dependencies(BSTR value) { return StringIn(value, dependencies_); }
STDMETHODIMP Ortivo::get_DisplayName(BSTR* value) { return StringOut(displayName_, value); }

STDMETHODIMP Ortivo::put_DisplayName(BSTR value) {
  if (!IsValidDisplayNameLength(SysStringLen(value))) return E_INVALIDARG;
  return StringIn(value, displayName_);
}

STDMETHODIMP Ortivo::get_ServiceName(BSTR* value) {
  if (value == nullptr) return E_POINTER;
  *value = AnsiToBstr(serviceName_);
  return *value ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP Ortivo::put_ServiceName(BSTR value) {
  try {
    std::string name = ToAnsi(value);
    if (!IsValidServiceName(name, &IsAnsiLeadByte)) return E_INVALIDARG;
    // Without a name the base path would be the key of all services.
    std::string basePath = name.empty() ? std::string() : SettingsBasePath(name);
    serviceName_ = std::move(name);
    basePath_ = std::move(basePath);
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP Ortivo::get_ControlsAccepted(Constants_Controls* value) {
  return ValueOut(static_cast<Constants_Controls>(controlsAccepted_), value);
}

STDMETHODIMP Ortivo::put_ControlsAccepted(Constants_Controls value) {
  controlsAccepted_ = value;
  return S_OK;
}

STDMETHODIMP Ortivo::get_StartMode(Constants_StartMode* value) {
  return ValueOut(static_cast<Constants_StartMode>(startMode_), value);
}

STDMETHODIMP Ortivo::put_StartMode(Constants_StartMode value) {
  startMode_ = value;
  return S_OK;
}

STDMETHODIMP Ortivo::get_Debug(VARIANT_BOOL* value) { return ValueOut(debug_, value); }

STDMETHODIMP Ortivo::put_Debug(VARIANT_BOOL value) {
  debug_ = value;
  return S_OK;
}

STDMETHODIMP Ortivo::get_Interactive(VARIANT_BOOL* value) { return ValueOut(interactive_, value); }

STDMETHODIMP Ortivo::put_Interactive(VARIANT_BOOL value) {
  interactive_ = value;
  return S_OK;
}

STDMETHODIMP Ortivo::get_Running(VARIANT_BOOL* value) { return ValueOut(AsVariantBool(runtime_.Running()), value); }

STDMETHODIMP Ortivo::get_CurrentStatus(Constants_Status* value) {
  return ValueOut(static_cast<Constants_Status>(runtime_.CurrentState()), value);
}

STDMETHODIMP Ortivo::Install(VARIANT_BOOL* result) {
  if (result == nullptr) return E_POINTER;
  *result = VARIANT_FALSE;
  try {
    InstallRequest request;
    request.serviceName = serviceName_;
    if (displayName_.Get() != nullptr) request.displayName = ToAnsi(displayName_.Get());
    request.account = ToAnsi(account_.Get());
    request.password = ToAnsi(password_.Get());
    request.startType = static_cast<DWORD>(startMode_);
    request.interactive = interactive_ != VARIANT_FALSE;
    const InstallResult installed = InstallService(request, log_);
    switch (installed.outcome) {
      case InstallOutcome::kInstalled:
        *result = VARIANT_TRUE;
        return S_OK;
      case InstallOutcome::kCreateFailed:
        return StatusFromPlatformError(installed.error);
      case InstallOutcome::kManagerUnavailable:
      case InstallOutcome::kEventSourceFailed:
        break;
    }
    return Fail(E_FAIL, IDS_ACCESS_DENIED);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP Ortivo::Uninstall(VARIANT_BOOL* result) {
  if (result == nullptr) return E_POINTER;
  *result = VARIANT_FALSE;
  switch (UninstallService(serviceName_, log_)) {
    case UninstallOutcome::kRemoved:
      *result = VARIANT_TRUE;
      return S_OK;
    case UninstallOutcome::kNotRemoved:
      return S_OK;
    case UninstallOutcome::kManagerUnavailable:
      break;
  }
  return Fail(E_FAIL, IDS_ACCESS_DENIED);
}

STDMETHODIMP Ortivo::LogEvent(Constants_Events type, Constants_Messages id, BSTR message, VARIANT_BOOL* result) {
  if (result == nullptr) return E_POINTER;
  *result = VARIANT_FALSE;
  try {
    const std::string text = ToAnsi(message);
    *result = AsVariantBool(log_.Write(serviceName_, static_cast<WORD>(type), static_cast<DWORD>(id), text.c_str()));
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP Ortivo::StartService(VARIANT_BOOL createMessageLoop, VARIANT_BOOL* result) {
  if (result == nullptr) return E_POINTER;
  *result = VARIANT_FALSE;
  try {
    RunSettings settings;
    settings.serviceName = serviceName_;
    settings.controlsAccepted = controlsAccepted_;
    settings.debug = debug_ != VARIANT_FALSE;
    // Only the automation true value -1 asks for the loop.
    const bool runLoop = createMessageLoop == VARIANT_TRUE;
    switch (runtime_.Start(settings, runLoop)) {
      case ServiceRuntime::StartOutcome::kStarted:
        *result = VARIANT_TRUE;
        return S_OK;
      case ServiceRuntime::StartOutcome::kAlreadyStarted:
        return S_OK;
      case ServiceRuntime::StartOutcome::kOutOfMemory:
        break;
    }
    return E_OUTOFMEMORY;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP Ortivo::StopService() {
  runtime_.Stop();
  return S_OK;
}

STDMETHODIMP Ortivo::StartTimer(LONG id, LONG elapseMs) {
  if (id <= 0) return Fail(E_INVALIDARG, IDS_TIMER_ID_RANGE);
  return runtime_.StartTimer(id, elapseMs);
}

STDMETHODIMP Ortivo::StopTimer(LONG id) {
  if (id <= 0) return Fail(E_INVALIDARG, IDS_TIMER_ID_RANGE);
  runtime_.StopTimer(id);
  return S_OK;
}

STDMETHODIMP Ortivo::AboutBox() {
  if (runtime_.Started()) return E_FAIL;
  return ShowAboutBox(IDS_PRODUCT_TITLE);
}

bool Ortivo::RaiseAnswered(DISPID id) {
  VARIANT_BOOL success = VARIANT_FALSE;
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_BOOL | VT_BYREF;
  argument.pboolVal = &success;
  events_.RaiseEvent(id, &argument, 1);
  return success != VARIANT_FALSE;
}

bool Ortivo::RaiseStart() { return RaiseAnswered(kEventStart); }
bool Ortivo::RaisePause() { return RaiseAnswered(kEventPause); }
bool Ortivo::RaiseContinue() { return RaiseAnswered(kEventContinue); }
void Ortivo::RaiseStop() { events_.RaiseEvent(kEventStop); }

void Ortivo::RaiseControl(LONG code) { RaiseWithLong(kEventControl, code); }
void Ortivo::RaiseTimer(LONG id) { RaiseWithLong(kEventTimer, id); }

void Ortivo::RaiseWithLong(DISPID id, LONG value) {
  VARIANT argument;
  VariantInit(&argument);
  argument.vt = VT_I4;
  argument.lVal = value;
  events_.RaiseEvent(id, &argument, 1);
}

}  // namespace quarent::service
