// IObjectSafety: the control is safe for untrusted data and says nothing about scripting.
#include "control/bar_code_control.h"

namespace quarent::barcode {

STDMETHODIMP BarCodeControl::GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) {
  if (supported == nullptr || enabled == nullptr) return E_POINTER;
  *supported = 0;
  *enabled = 0;
  ComPtr<IUnknown> answered;
  if (FAILED(QueryInterface(iid, answered.ReceiveVoid()))) return E_NOINTERFACE;
  *supported = INTERFACESAFE_FOR_UNTRUSTED_DATA;
  *enabled = IsEqualIID(iid, IID_IPersistPropertyBag) ? INTERFACESAFE_FOR_UNTRUSTED_DATA : safetyOptions_;
  return S_OK;
}

STDMETHODIMP BarCodeControl::SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) {
  if (IsEqualIID(iid, IID_IPersistPropertyBag)) {
    return mask == INTERFACESAFE_FOR_UNTRUSTED_DATA && enabled == INTERFACESAFE_FOR_UNTRUSTED_DATA ? S_OK : E_FAIL;
  }
  ComPtr<IUnknown> answered;
  if (FAILED(QueryInterface(iid, answered.ReceiveVoid()))) return E_NOINTERFACE;
  if ((mask & ~static_cast<DWORD>(INTERFACESAFE_FOR_UNTRUSTED_DATA)) != 0) return E_FAIL;
  safetyOptions_ = (safetyOptions_ & ~mask) | (enabled & mask);
  return S_OK;
}

}  // namespace quarent::barcode
