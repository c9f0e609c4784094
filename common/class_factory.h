#pragma once
// The class object DllGetClassObject hands out for each creatable class.
#include "common/com_object.h"
#include "common/module.h"

namespace quarent {

class ClassFactory : public ComObject<IClassFactory> {
 public:
  ClassFactory(IUnknown* outer, const CreatableClass& creatable);

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 protected:
  void* FindInterface(REFIID iid) override;

 private:
  const CreatableClass& creatable_;
};

}  // namespace quarent
