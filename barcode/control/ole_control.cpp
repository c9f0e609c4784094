// IOleControl and IQuickActivate: ambient changes, event freezing and the one-call
// activation of a container.
#include "control/bar_code_control.h"

namespace quarent::barcode {

STDMETHODIMP BarCodeControl::GetControlInfo(CONTROLINFO* info) {
  if (info == nullptr) return E_POINTER;
  info->hAccel = nullptr;
  info->cAccel = 0;
  info->dwFlags = 0;
  return S_OK;
}

STDMETHODIMP BarCodeControl::OnMnemonic(MSG*) { return E_NOTIMPL; }

STDMETHODIMP BarCodeControl::OnAmbientPropertyChange(DISPID id) {
  if (id == DISPID_AMBIENT_BACKCOLOR || id == DISPID_UNKNOWN) TakeAmbientBackColor();
  if ((id == DISPID_AMBIENT_USERMODE || id == DISPID_UNKNOWN) && window_) {
    const bool shown = visible_ != VARIANT_FALSE || !AmbientUserMode();
    ShowWindow(window_.Get(), shown ? SW_SHOW : SW_HIDE);
  }
  return S_OK;
}

STDMETHODIMP BarCodeControl::FreezeEvents(BOOL freeze) {
  frozenEvents_ += freeze ? 1 : (frozenEvents_ > 0 ? -1 : 0);
  return S_OK;
}

STDMETHODIMP BarCodeControl::QuickActivate(QACONTAINER* container, QACONTROL* control) {
  if (container == nullptr || control == nullptr) return E_POINTER;
  if (container->cbSize < sizeof(QACONTAINER) || control->cbSize < sizeof(QACONTROL)) return E_INVALIDARG;
  HRESULT status = SetClientSite(container->pClientSite);
  if (FAILED(status)) return status;
  // Without an ambient dispatch the container's own record carries the back colour.
  if (backColorIsInitial_ && !ambient_) backColor_ = container->colorBack;
  if (container->pAdviseSink) SetAdvise(DVASPECT_CONTENT, 0, container->pAdviseSink);
  control->dwMiscStatus = kMiscStatus;
  control->dwViewStatus = VIEWSTATUS_OPAQUE | VIEWSTATUS_SOLIDBKGND;
  control->dwEventCookie = 0;
  control->dwPropNotifyCookie = 0;
  control->dwPointerActivationPolicy = 0;
  if (container->pUnkEventSink) {
    status = events_.Advise(container->pUnkEventSink, &control->dwEventCookie);
    if (FAILED(status)) return status;
  }
  if (container->pPropertyNotifySink) {
    status = propertyNotify_.Advise(container->pPropertyNotifySink, &control->dwPropNotifyCookie);
    if (FAILED(status)) return status;
  }
  return S_OK;
}

STDMETHODIMP BarCodeControl::SetContentExtent(LPSIZEL size) { return SetExtent(DVASPECT_CONTENT, size); }

STDMETHODIMP BarCodeControl::GetContentExtent(LPSIZEL size) { return GetExtent(DVASPECT_CONTENT, size); }

}  // namespace quarent::barcode
