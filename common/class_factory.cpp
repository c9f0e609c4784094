#include "common/class_factory.h"

namespace quarent {

ClassFactory::ClassFactory(IUnknown* outer, const CreatableClass& creatable)
    : ComObject(outer), creatable_(creatable) {}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  // The outer object of an aggregate must hold the inner IUnknown.
  if (outer != nullptr && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
  return creatable_.create(outer, iid, object);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
  if (lock) {
    module::Lock();
  } else {
    module::Unlock();
  }
  return S_OK;
}

void* ClassFactory::FindInterface(REFIID iid) {
  if (IsEqualIID(iid, IID_IClassFactory)) return static_cast<IClassFactory*>(this);
  return nullptr;
}

}  // namespace quarent
