#pragma once
// QRNOrtivo: turns the client's own process into a Windows NT service. Keeps
// the service's configuration, installs and removes it, runs it under the
// service control manager (or, with Debug, without it) raising the manager's
// requests as events on the client's thread, keeps settings in the registry
// and writes to the application event log. One object per process.
#include "service_platform.h"

#include <string>

#include "QRNNTSrv_h.h"
#include "common/automation_types.h"
#include "common/com_object.h"
#include "common/connection_point.h"
#include "common/dispatch.h"
#include "common/error_info.h"
#include "event_log_writer.h"
#include "service_runtime.h"

namespace quarent::service {

class Ortivo : public ComObject<DualInterface<IOrtivo>, SupportErrorInfoFor<IOrtivo>, ConnectionPointContainer,
                                ProvideClassInfoFor<QRNOrtivo, _IOrtivoEvents>>,
               private RuntimeEvents {
 public:
  explicit Ortivo(IUnknown* outer);
  ~Ortivo() override;

  // Class factory entry: creates the object, refused with E_FAIL (text 1502)
  // while another object of the class lives in the process.
  static HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object);

  STDMETHODIMP get_Account(BSTR* value) override;
  STDMETHODIMP put_Account(BSTR value) override;
  STDMETHODIMP get_ControlsAccepted(Constants_Controls* value) override;
  STDMETHODIMP put_ControlsAccepted(Constants_Controls value) override;
  STDMETHODIMP get_Debug(VARIANT_BOOL* value) override;
  STDMETHODIMP put_Debug(VARIANT_BOOL value) override;
  STDMETHODIMP get_LoadOrderGroup(BSTR* value) override;
  STDMETHODIMP put_LoadOrderGroup(BSTR value) override;
  STDMETHODIMP get_Dependencies(BSTR* value) override;
  STDMETHODIMP put_Dependencies(BSTR value) override;
  STDMETHODIMP get_DisplayName(BSTR* value) override;
  STDMETHODIMP put_DisplayName(BSTR value) override;
  STDMETHODIMP get_Interactive(VARIANT_BOOL* value) override;
  STDMETHODIMP put_Interactive(VARIANT_BOOL value) override;
  STDMETHODIMP get_Password(BSTR* value) override;
  STDMETHODIMP put_Password(BSTR value) override;
  STDMETHODIMP get_ServiceName(BSTR* value) override;
  STDMETHODIMP put_ServiceName(BSTR value) override;
  STDMETHODIMP get_StartMode(Constants_StartMode* value) override;
  STDMETHODIMP put_StartMode(Constants_StartMode value) override;
  STDMETHODIMP get_Running(VARIANT_BOOL* value) override;
  STDMETHODIMP get_CurrentStatus(Constants_Status* value) override;
  STDMETHODIMP DeleteSetting(BSTR section, VARIANT key) override;
  STDMETHODIMP GetAllSettings(BSTR section, VARIANT* result) override;
  STDMETHODIMP GetSetting(BSTR section, BSTR key, VARIANT defaultValue, BSTR* result) override;
  STDMETHODIMP Install(VARIANT_BOOL* result) override;
  STDMETHODIMP LogEvent(Constants_Events type, Constants_Messages id, BSTR message, VARIANT_BOOL* result) override;
  STDMETHODIMP SaveSetting(BSTR section, BSTR key, BSTR value) override;
  STDMETHODIMP StartService(VARIANT_BOOL createMessageLoop, VARIANT_BOOL* result) override;
  STDMETHODIMP StopService() override;
  STDMETHODIMP Uninstall(VARIANT_BOOL* result) override;
  STDMETHODIMP AboutBox() override;
  STDMETHODIMP StartTimer(LONG id, LONG elapseMs) override;
  STDMETHODIMP StopTimer(LONG id) override;

 protected:
  void* FindInterface(REFIID iid) override;
  size_t ConnectionPointCount() override { return 1; }
  ConnectionPoint& ConnectionPointAt(size_t) override { return events_; }

 private:
  // The one-object rule; makes this object the one the service entry points use.
  HRESULT FinalConstruct();

  // RuntimeEvents: the events of _IOrtivoEvents.
  bool RaiseStart() override;
  bool RaisePause() override;
  bool RaiseContinue() override;
  void RaiseStop() override;
  void RaiseControl(LONG code) override;
  void RaiseTimer(LONG id) override;
  // Raises `id` with one boolean Success, false at first, by reference to all
  // sinks in turn; true when the last sink left it non-zero.
  bool RaiseAnswered(DISPID id);
  // Raises `id` with one long argument.
  void RaiseWithLong(DISPID id, LONG value);

  // Sets error text `textId` with IOrtivo and the class's ProgID; returns `status`.
  static HRESULT Fail(HRESULT status, UINT textId);
  // The settings key of `section`, or empty while no ServiceName is set.
  std::string SectionPath(const std::string& section) const;

  const bool firstInProcess_;  // no other object lived when this one was made
  bool counted_ = false;       // FinalConstruct accepted this object
  std::string serviceName_;
  std::string basePath_;  // empty: no ServiceName set, settings calls find no key
  Bstr account_;
  Bstr password_;
  Bstr displayName_;
  Bstr loadOrderGroup_;
  Bstr dependencies_;
  LONG controlsAccepted_ = qrnCtrlStartStop;
  LONG startMode_ = qrnStartManual;
  VARIANT_BOOL debug_ = VARIANT_FALSE;
  VARIANT_BOOL interactive_ = VARIANT_FALSE;

  CriticalSection lock_;  // guards the sink list
  ConnectionPoint events_;
  EventLogWriter log_;
  ServiceRuntime runtime_;
};

}  // namespace quarent::service
