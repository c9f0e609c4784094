#pragma once
// Reference counting, interface lookup and aggregation shared by every COM class.
//
// A class derives from ComObject<its interfaces...>, answers its interfaces in
// FindInterface, and is created with CreateComObject<T>(outer, iid, out, ...).
// When aggregated, its IUnknown methods delegate to the outer object and the
// outer object holds the inner, non-delegating IUnknown.
#include <windows.h>
#include <objbase.h>

#include <new>
#include <utility>

namespace quarent {

class ComObjectRoot {
 public:
  ComObjectRoot(const ComObjectRoot&) = delete;
  ComObjectRoot& operator=(const ComObjectRoot&) = delete;

  // The non-delegating IUnknown: the object's identity when aggregated.
  IUnknown* InnerUnknown() { return &inner_; }
  // The IUnknown every interface delegates to: the outer object, or InnerUnknown().
  IUnknown* ControllingUnknown() const { return outer_; }

 protected:
  explicit ComObjectRoot(IUnknown* outer);
  virtual ~ComObjectRoot();

  // Returns this object's implementation of `iid` (without a new reference), or
  // null. IUnknown is answered by the root and never reaches this function.
  virtual void* FindInterface(REFIID iid) = 0;

 private:
  class NonDelegatingUnknown : public IUnknown {
   public:
    explicit NonDelegatingUnknown(ComObjectRoot& owner) : owner_(owner) {}
    STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

   private:
    ComObjectRoot& owner_;
  };

  NonDelegatingUnknown inner_;
  IUnknown* outer_;
  LONG references_ = 0;
};

template <class... Interfaces>
class ComObject : public ComObjectRoot, public Interfaces... {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    return ControllingUnknown()->QueryInterface(iid, object);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ControllingUnknown()->AddRef(); }
  STDMETHODIMP_(ULONG) Release() override { return ControllingUnknown()->Release(); }

 protected:
  using ComObjectRoot::ComObjectRoot;
};

// Creates a T (constructed with `outer` followed by `arguments`) and returns
// its interface `iid` in `object`. An outer object must ask for IUnknown.
template <class T, class... Arguments>
HRESULT CreateComObject(IUnknown* outer, REFIID iid, void** object, Arguments&&... arguments) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
  T* instance = new (std::nothrow) T(outer, std::forward<Arguments>(arguments)...);
  if (instance == nullptr) return E_OUTOFMEMORY;
  IUnknown* inner = instance->InnerUnknown();
  inner->AddRef();
  const HRESULT status = inner->QueryInterface(iid, object);
  inner->Release();
  return status;
}

}  // namespace quarent
