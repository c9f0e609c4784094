#include "event_recorder.h"

#include <oleauto.h>

#include <sstream>

#include "com_client.h"

namespace test {
namespace {

std::wstring ArgumentText(const VARIANT& argument) {
  VARIANT text;
  VariantInit(&text);
  VARIANT source = argument;
  // A by-reference argument is shown by its current value.
  if (source.vt & VT_BYREF) {
    if (FAILED(VariantCopyInd(&source, const_cast<VARIANT*>(&argument)))) return L"?";
  }
  std::wstring result = L"?";
  if (SUCCEEDED(VariantChangeType(&text, &source, VARIANT_ALPHABOOL, VT_BSTR))) {
    result = text.bstrVal ? text.bstrVal : L"";
  }
  VariantClear(&text);
  if (argument.vt & VT_BYREF) VariantClear(&source);
  return result;
}

}  // namespace

EventRecorder::EventRecorder(REFIID eventInterface) : eventInterface_(eventInterface) {}

STDMETHODIMP EventRecorder::QueryInterface(REFIID iid, void** object) {
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, eventInterface_)) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) EventRecorder::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

STDMETHODIMP_(ULONG) EventRecorder::Release() {
  const LONG remaining = InterlockedDecrement(&references_);
  if (remaining == 0) delete this;
  return static_cast<ULONG>(remaining);
}

STDMETHODIMP EventRecorder::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}
STDMETHODIMP EventRecorder::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP EventRecorder::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP EventRecorder::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                                   UINT*) {
  RecordedEvent event{id, {}, GetCurrentThreadId()};
  if (parameters) {
    for (UINT index = parameters->cArgs; index > 0; --index) {
      event.arguments.push_back(ArgumentText(parameters->rgvarg[index - 1]));
    }
  }
  {
    std::lock_guard<std::mutex> hold(mutex_);
    events_.push_back(event);
  }
  if (hook) hook(id, parameters);
  return answer;
}

std::vector<RecordedEvent> EventRecorder::Events() {
  std::lock_guard<std::mutex> hold(mutex_);
  return events_;
}

void EventRecorder::Clear() {
  std::lock_guard<std::mutex> hold(mutex_);
  events_.clear();
}

std::string EventRecorder::Summary() {
  std::ostringstream text;
  for (const RecordedEvent& event : Events()) {
    if (text.tellp() > 0) text << ' ';
    text << event.id << '(';
    for (size_t index = 0; index < event.arguments.size(); ++index) {
      if (index) text << ',';
      text << Narrow(event.arguments[index]);
    }
    text << ')';
  }
  return text.str();
}

Connection::Connection(IUnknown* source, REFIID eventInterface, IUnknown* sink) {
  IConnectionPointContainer* container = nullptr;
  status_ = source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
  if (FAILED(status_)) return;
  status_ = container->FindConnectionPoint(eventInterface, &point_);
  container->Release();
  if (FAILED(status_)) return;
  status_ = point_->Advise(sink, &cookie_);
}

Connection::~Connection() { Disconnect(); }

void Connection::Disconnect() {
  if (point_ && cookie_) point_->Unadvise(cookie_);
  cookie_ = 0;
  if (point_) point_->Release();
  point_ = nullptr;
}

}  // namespace test
