#pragma once
// A fake event sink: answers the event interface it is made for (and
// IDispatch), records every call with its arguments as text, and can run a
// hook inside each call (to call the source back or change by-reference
// arguments).
#include <windows.h>
#include <objbase.h>
#include <ocidl.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace test {

struct RecordedEvent {
  DISPID id;
  std::vector<std::wstring> arguments;  // natural order, each as text
  DWORD threadId;
};

class EventRecorder : public IDispatch {
 public:
  // Made with one reference, owned by the caller.
  explicit EventRecorder(REFIID eventInterface);

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                      EXCEPINFO* exception, UINT* argumentError) override;

  // Runs inside every call, after it is recorded.
  std::function<void(DISPID id, DISPPARAMS* parameters)> hook;
  // Status every Invoke returns (a failing sink).
  HRESULT answer = S_OK;

  std::vector<RecordedEvent> Events();
  void Clear();
  // "id(arg,arg) id(arg)" summary of the recorded calls, for comparisons.
  std::string Summary();

 private:
  virtual ~EventRecorder() = default;

  LONG references_ = 1;
  IID eventInterface_;
  std::mutex mutex_;
  std::vector<RecordedEvent> events_;
};

// Connects a sink to an object's connection point for the scope.
class Connection {
 public:
  Connection(IUnknown* source, REFIID eventInterface, IUnknown* sink);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  HRESULT Status() const { return status_; }
  DWORD Cookie() const { return cookie_; }
  void Disconnect();

 private:
  IConnectionPoint* point_ = nullptr;
  DWORD cookie_ = 0;
  HRESULT status_ = E_FAIL;
};

}  // namespace test
