#pragma once
// Connection points: the sinks connected to one outgoing interface of an
// object, and the raising of events to them.
//
// The sink list is an array in which a removed sink leaves an empty place and
// a new sink takes the first empty place; its cookie is its place + 1. While an
// event is raised the number of places is read once, each place is read under
// the owner's lock and the sink is called without it, so a sink may call the
// object back, connect or disconnect; a failing sink does not stop delivery.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstddef>
#include <vector>

#include "common/win_handles.h"

namespace quarent {

// How a connection point's interface is called: a dispinterface through
// IDispatch (a sink may then connect with a plain IDispatch, as script hosts
// do), or an ordinary interface through its own vtable.
enum class SinkKind { Dispinterface, Vtable };

class ConnectionPoint : public IConnectionPoint {
 public:
  // `container` is the owning object (it keeps this connection point alive and
  // counts its references); `lock` is the owner's lock that guards the list.
  ConnectionPoint(IConnectionPointContainer& container, REFIID iid, CriticalSection& lock,
                  SinkKind kind = SinkKind::Dispinterface);
  ~ConnectionPoint();
  ConnectionPoint(const ConnectionPoint&) = delete;
  ConnectionPoint& operator=(const ConnectionPoint&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections** connections) override;

  // Calls `call(sink)` for every connected sink, in list order, holding a
  // reference to the sink but not the lock. `sink` is the pointer obtained
  // for this connection point's interface (IDispatch for a dispinterface).
  template <class Call>
  void ForEachSink(Call&& call) {
    const size_t places = PlaceCount();
    for (size_t place = 0; place < places; ++place) {
      IUnknown* sink = TakeSinkAt(place);
      if (sink == nullptr) continue;
      call(sink);
      sink->Release();
    }
  }

  // Raises event `id` of a dispinterface to every sink through IDispatch::Invoke
  // (IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD). `arguments` are in the
  // platform's reversed order; each sink receives fresh copies of them.
  void RaiseEvent(DISPID id, const VARIANT* arguments = nullptr, UINT argumentCount = 0);

  // True when at least one sink is connected.
  bool HasSinks();

  // Releases every sink; used at the owner's final release.
  void DisconnectAll();

 private:
  size_t PlaceCount();
  // The sink at `place` with a new reference, or null for an empty place or
  // one past the current end.
  IUnknown* TakeSinkAt(size_t place);

  IConnectionPointContainer& container_;
  const IID iid_;
  CriticalSection& lock_;
  const SinkKind kind_;
  std::vector<IUnknown*> sinks_;
};

// IConnectionPointContainer over the connection points an object lists.
class ConnectionPointContainer : public IConnectionPointContainer {
 public:
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** points) override;
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

 protected:
  virtual size_t ConnectionPointCount() = 0;
  virtual ConnectionPoint& ConnectionPointAt(size_t index) = 0;
};

}  // namespace quarent
