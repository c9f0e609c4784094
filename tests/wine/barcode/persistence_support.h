#pragma once
// What the persistence tests of the barcode control share: streams in
// memory, a property bag in memory, a control with every property changed
// and a one-line picture of all its properties.
#include <windows.h>
#include <ocidl.h>

#include <map>
#include <string>
#include <vector>

#include "QRNBC10_h.h"
#include "test_container.h"

namespace test {

// All bytes of `stream`, read from its start.
std::vector<BYTE> StreamBytes(IStream* stream);

// A new stream in memory holding `bytes`, positioned at its start.
IStream* StreamOf(const std::vector<BYTE>& bytes);

// Gives `control` a set of values none of which is a default; false (at the
// first refusal) when the control does not take one of them.
bool ChangeEverything(HostedControl& control);

// Every property and the extent as one line of text, for comparisons.
std::string Snapshot(IQRNBarCode* control);

// A property bag in memory, its values in `values` and the names in the
// order written; `failing` names answer E_FAIL.
class MemoryBag : public IPropertyBag {
 public:
  std::map<std::wstring, VARIANT> values;
  std::vector<std::wstring> writeOrder;
  std::wstring failing;

  ~MemoryBag() {
    for (auto& entry : values) VariantClear(&entry.second);
  }
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyBag)) {
      *object = static_cast<IPropertyBag*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override {
    if (failing == name) return E_FAIL;
    auto found = values.find(name);
    if (found == values.end()) return E_INVALIDARG;
    const VARTYPE wanted = value->vt;
    VariantInit(value);
    if (wanted == VT_EMPTY || wanted == found->second.vt) return VariantCopy(value, &found->second);
    return VariantChangeType(value, &found->second, 0, wanted);
  }
  STDMETHODIMP Write(LPCOLESTR name, VARIANT* value) override {
    VARIANT& slot = values[name];
    VariantClear(&slot);
    writeOrder.push_back(name);
    return VariantCopy(&slot, value);
  }
  void Set(const wchar_t* name, VARIANT value) {
    VariantClear(&values[name]);
    values[name] = value;
  }
};

}  // namespace test
