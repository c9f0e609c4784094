#pragma once
// An outer object for aggregation tests: keeps the inner object's
// non-delegating IUnknown in `inner`, answers IUnknown itself and forwards
// every other interface to the inner object. Lives on the test's stack.
#include <objbase.h>

namespace test {

class AggregatingOuter : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown)) {
      *object = this;
      AddRef();
      return S_OK;
    }
    if (inner) return inner->QueryInterface(iid, object);
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references; }
  STDMETHODIMP_(ULONG) Release() override { return --references; }

  IUnknown* inner = nullptr;
  ULONG references = 1;
};

}  // namespace test
