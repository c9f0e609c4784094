#include "common/com_object.h"

#include <climits>

#include "common/module.h"

namespace quarent {

ComObjectRoot::ComObjectRoot(IUnknown* outer) : inner_(*this), outer_(outer ? outer : &inner_) {
  module::Lock();
}

ComObjectRoot::~ComObjectRoot() { module::Unlock(); }

STDMETHODIMP ComObjectRoot::NonDelegatingUnknown::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(iid, IID_IUnknown)) {
    *object = this;
    AddRef();
    return S_OK;
  }
  void* found = owner_.FindInterface(iid);
  if (found == nullptr) return E_NOINTERFACE;
  *object = found;
  owner_.ControllingUnknown()->AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) ComObjectRoot::NonDelegatingUnknown::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&owner_.references_));
}

STDMETHODIMP_(ULONG) ComObjectRoot::NonDelegatingUnknown::Release() {
  const LONG remaining = InterlockedDecrement(&owner_.references_);
  if (remaining == 0) {
    // A destructor that hands out and drops a reference must not free twice.
    owner_.references_ = LONG_MAX / 2;
    delete &owner_;
  }
  return static_cast<ULONG>(remaining);
}

}  // namespace quarent
