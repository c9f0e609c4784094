#include "control/font_change_sink.h"

#include "control/bar_code_control.h"

namespace quarent::barcode {

FontChangeSink::FontChangeSink(IUnknown* outer, BarCodeControl* control) : ComObject(outer), control_(control) {}

void* FontChangeSink::FindInterface(REFIID iid) {
  return IsEqualIID(iid, IID_IPropertyNotifySink) ? static_cast<IPropertyNotifySink*>(this) : nullptr;
}

STDMETHODIMP FontChangeSink::OnChanged(DISPID) {
  if (control_) control_->OnFontChanged();
  return S_OK;
}

STDMETHODIMP FontChangeSink::OnRequestEdit(DISPID) { return S_OK; }

}  // namespace quarent::barcode
