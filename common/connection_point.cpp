#include "common/connection_point.h"

#include <new>
#include <utility>

#include "common/automation_types.h"
#include "common/com_object.h"

namespace quarent {
namespace {

struct ConnectionTraits {
  using Item = CONNECTDATA;
  static void Keep(Item& item) { item.pUnk->AddRef(); }
  static void Drop(Item& item) { item.pUnk->Release(); }
};

struct PointTraits {
  using Item = IConnectionPoint*;
  static void Keep(Item& item) { item->AddRef(); }
  static void Drop(Item& item) { item->Release(); }
};

// Enumerator over a snapshot of items taken when it was made.
template <class EnumInterface, class Traits>
class SnapshotEnumerator : public ComObject<EnumInterface> {
 public:
  using Item = typename Traits::Item;

  SnapshotEnumerator(IUnknown* outer, std::vector<Item> items, size_t position = 0)
      : ComObject<EnumInterface>(outer), items_(std::move(items)), position_(position) {
    for (Item& item : items_) Traits::Keep(item);
  }
  ~SnapshotEnumerator() override {
    for (Item& item : items_) Traits::Drop(item);
  }

  STDMETHODIMP Next(ULONG count, Item* out, ULONG* fetched) override {
    if (out == nullptr || (count > 1 && fetched == nullptr)) return E_POINTER;
    ULONG copied = 0;
    while (copied < count && position_ < items_.size()) {
      out[copied] = items_[position_++];
      Traits::Keep(out[copied]);
      ++copied;
    }
    if (fetched) *fetched = copied;
    return copied == count ? S_OK : S_FALSE;
  }

  STDMETHODIMP Skip(ULONG count) override {
    const size_t left = items_.size() - position_;
    if (count > left) {
      position_ = items_.size();
      return S_FALSE;
    }
    position_ += count;
    return S_OK;
  }

  STDMETHODIMP Reset() override {
    position_ = 0;
    return S_OK;
  }

  STDMETHODIMP Clone(EnumInterface** copy) override {
    try {
      return CreateComObject<SnapshotEnumerator>(nullptr, __uuidof(EnumInterface), reinterpret_cast<void**>(copy),
                                                 items_, position_);
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
  }

 protected:
  void* FindInterface(REFIID iid) override {
    return IsEqualIID(iid, __uuidof(EnumInterface)) ? static_cast<EnumInterface*>(this) : nullptr;
  }

 private:
  std::vector<Item> items_;
  size_t position_;
};

using ConnectionEnumerator = SnapshotEnumerator<IEnumConnections, ConnectionTraits>;
using PointEnumerator = SnapshotEnumerator<IEnumConnectionPoints, PointTraits>;

}  // namespace

ConnectionPoint::ConnectionPoint(IConnectionPointContainer& container, REFIID iid, CriticalSection& lock,
                                 SinkKind kind)
    : container_(container), iid_(iid), lock_(lock), kind_(kind) {}

ConnectionPoint::~ConnectionPoint() { DisconnectAll(); }

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ConnectionPoint::AddRef() { return container_.AddRef(); }
STDMETHODIMP_(ULONG) ConnectionPoint::Release() { return container_.Release(); }

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
  if (iid == nullptr) return E_POINTER;
  *iid = iid_;
  return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
  if (container == nullptr) return E_POINTER;
  *container = &container_;
  container_.AddRef();
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
  if (cookie == nullptr) return E_POINTER;
  *cookie = 0;
  if (sink == nullptr) return E_POINTER;
  IUnknown* connected = nullptr;
  if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(&connected)))) {
    // Script hosts connect with a plain IDispatch for a dispinterface.
    if (kind_ != SinkKind::Dispinterface ||
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&connected)))) {
      return CONNECT_E_CANNOTCONNECT;
    }
  }
  CriticalSectionLock hold(lock_);
  size_t place = 0;
  while (place < sinks_.size() && sinks_[place] != nullptr) ++place;
  if (place == sinks_.size()) {
    try {
      sinks_.push_back(nullptr);
    } catch (const std::bad_alloc&) {
      connected->Release();
      return E_OUTOFMEMORY;
    }
  }
  sinks_[place] = connected;
  *cookie = static_cast<DWORD>(place + 1);
  return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
  IUnknown* removed = nullptr;
  {
    CriticalSectionLock hold(lock_);
    if (cookie == 0 || cookie > sinks_.size() || sinks_[cookie - 1] == nullptr) return CONNECT_E_NOCONNECTION;
    removed = std::exchange(sinks_[cookie - 1], nullptr);
  }
  removed->Release();
  return S_OK;
}

STDMETHODIMP ConnectionPoint::EnumConnections(IEnumConnections** connections) {
  if (connections == nullptr) return E_POINTER;
  *connections = nullptr;
  try {
    std::vector<CONNECTDATA> snapshot;
    CriticalSectionLock hold(lock_);
    for (size_t place = 0; place < sinks_.size(); ++place) {
      if (sinks_[place] != nullptr) snapshot.push_back({sinks_[place], static_cast<DWORD>(place + 1)});
    }
    // The enumerator takes its own references while the lock still holds the sinks.
    return CreateComObject<ConnectionEnumerator>(nullptr, IID_IEnumConnections,
                                                 reinterpret_cast<void**>(connections), std::move(snapshot));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

void ConnectionPoint::RaiseEvent(DISPID id, const VARIANT* arguments, UINT argumentCount) {
  std::vector<VARIANT> copies;
  try {
    copies.resize(argumentCount);
  } catch (const std::bad_alloc&) {
    return;  // without memory for the arguments no sink can be called
  }
  ForEachSink([&](IUnknown* sink) {
    for (UINT index = 0; index < argumentCount; ++index) {
      VariantInit(&copies[index]);
      VariantCopy(&copies[index], const_cast<VARIANT*>(&arguments[index]));
    }
    DISPPARAMS parameters = {copies.data(), nullptr, argumentCount, 0};
    static_cast<IDispatch*>(sink)->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters,
                                          nullptr, nullptr, nullptr);
    for (VARIANT& copy : copies) VariantClear(&copy);
  });
}

bool ConnectionPoint::HasSinks() {
  CriticalSectionLock hold(lock_);
  for (IUnknown* sink : sinks_) {
    if (sink != nullptr) return true;
  }
  return false;
}

void ConnectionPoint::DisconnectAll() {
  std::vector<IUnknown*> released;
  {
    CriticalSectionLock hold(lock_);
    released.swap(sinks_);
  }
  for (IUnknown* sink : released) {
    if (sink) sink->Release();
  }
}

size_t ConnectionPoint::PlaceCount() {
  CriticalSectionLock hold(lock_);
  return sinks_.size();
}

IUnknown* ConnectionPoint::TakeSinkAt(size_t place) {
  CriticalSectionLock hold(lock_);
  if (place >= sinks_.size() || sinks_[place] == nullptr) return nullptr;
  sinks_[place]->AddRef();
  return sinks_[place];
}

STDMETHODIMP ConnectionPointContainer::EnumConnectionPoints(IEnumConnectionPoints** points) {
  if (points == nullptr) return E_POINTER;
  *points = nullptr;
  try {
    std::vector<IConnectionPoint*> all;
    for (size_t index = 0; index < ConnectionPointCount(); ++index) all.push_back(&ConnectionPointAt(index));
    return CreateComObject<PointEnumerator>(nullptr, IID_IEnumConnectionPoints, reinterpret_cast<void**>(points),
                                            std::move(all));
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP ConnectionPointContainer::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
  if (point == nullptr) return E_POINTER;
  *point = nullptr;
  for (size_t index = 0; index < ConnectionPointCount(); ++index) {
    ConnectionPoint& candidate = ConnectionPointAt(index);
    IID candidateIid;
    candidate.GetConnectionInterface(&candidateIid);
    if (IsEqualIID(candidateIid, iid)) {
      *point = &candidate;
      candidate.AddRef();
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

}  // namespace quarent
