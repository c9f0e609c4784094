// IOleObject: verbs, extent, advise sinks and the object's identity towards its container.
#include "control/bar_code_control.h"

namespace quarent::barcode {

STDMETHODIMP BarCodeControl::SetHostNames(LPCOLESTR, LPCOLESTR) { return S_OK; }

STDMETHODIMP BarCodeControl::Close(DWORD saveOption) {
  const bool save = saveOption == OLECLOSE_SAVEIFDIRTY || saveOption == OLECLOSE_PROMPTSAVE;
  if (save && dirty_ && clientSite_) clientSite_->SaveObject();
  InPlaceDeactivate();
  if (oleAdvise_) oleAdvise_->SendOnClose();
  return S_OK;
}

STDMETHODIMP BarCodeControl::SetMoniker(DWORD, IMoniker*) { return E_NOTIMPL; }

STDMETHODIMP BarCodeControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP BarCodeControl::InitFromData(IDataObject*, BOOL, DWORD) { return E_NOTIMPL; }

STDMETHODIMP BarCodeControl::GetClipboardData(DWORD, IDataObject** data) {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP BarCodeControl::DoVerb(LONG verb, LPMSG, IOleClientSite*, LONG, HWND parent, LPCRECT position) {
  switch (verb) {
    case OLEIVERB_PRIMARY:  // registered as "&Properties"
    case OLEIVERB_PROPERTIES:
      return ShowPropertyFrame(parent);
    case OLEIVERB_SHOW:
    case OLEIVERB_OPEN:
    case OLEIVERB_INPLACEACTIVATE:
    case OLEIVERB_UIACTIVATE:
      return InPlaceActivate(verb, parent, position);
    case OLEIVERB_HIDE:
      UIDeactivate();
      if (window_) ShowWindow(window_.Get(), SW_HIDE);
      return S_OK;
    case OLEIVERB_DISCARDUNDOSTATE:
      return S_OK;
    default:
      return verb < 0 ? E_NOTIMPL : OLEOBJ_S_INVALIDVERB;
  }
}

STDMETHODIMP BarCodeControl::EnumVerbs(IEnumOLEVERB** verbs) {
  if (verbs == nullptr) return E_POINTER;
  return OleRegEnumVerbs(CLSID_QRNBarCode, verbs);
}

STDMETHODIMP BarCodeControl::Update() { return S_OK; }

STDMETHODIMP BarCodeControl::IsUpToDate() { return S_OK; }

STDMETHODIMP BarCodeControl::GetUserClassID(CLSID* classId) {
  if (classId == nullptr) return E_POINTER;
  *classId = CLSID_QRNBarCode;
  return S_OK;
}

STDMETHODIMP BarCodeControl::GetUserType(DWORD form, LPOLESTR* userType) {
  if (userType == nullptr) return E_POINTER;
  return OleRegGetUserType(CLSID_QRNBarCode, form, userType);
}

STDMETHODIMP BarCodeControl::SetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (size == nullptr) return E_POINTER;
  if (autoSize_ != VARIANT_FALSE) return ApplyAutoSize(*size);
  if (size->cx != extent_.cx || size->cy != extent_.cy) {
    extent_ = *size;
    dirty_ = true;
  }
  return S_OK;
}

STDMETHODIMP BarCodeControl::GetExtent(DWORD aspect, SIZEL* size) {
  if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
  if (size == nullptr) return E_POINTER;
  if (autoSize_ != VARIANT_FALSE) {
    const HRESULT status = ApplyAutoSize(extent_);
    if (FAILED(status)) return status;
  }
  *size = extent_;
  return S_OK;
}

STDMETHODIMP BarCodeControl::Advise(IAdviseSink* sink, DWORD* connection) {
  if (connection == nullptr) return E_POINTER;
  *connection = 0;
  if (!oleAdvise_) {
    const HRESULT status = CreateOleAdviseHolder(oleAdvise_.Receive());
    if (FAILED(status)) return status;
  }
  return oleAdvise_->Advise(sink, connection);
}

STDMETHODIMP BarCodeControl::Unadvise(DWORD connection) {
  if (!oleAdvise_) return OLE_E_NOCONNECTION;
  return oleAdvise_->Unadvise(connection);
}

STDMETHODIMP BarCodeControl::EnumAdvise(IEnumSTATDATA** advises) {
  if (advises == nullptr) return E_POINTER;
  *advises = nullptr;
  if (!oleAdvise_) return E_FAIL;
  return oleAdvise_->EnumAdvise(advises);
}

STDMETHODIMP BarCodeControl::GetMiscStatus(DWORD aspect, DWORD* status) {
  if (status == nullptr) return E_POINTER;
  *status = aspect == DVASPECT_CONTENT ? kMiscStatus : 0;
  return S_OK;
}

STDMETHODIMP BarCodeControl::SetColorScheme(LOGPALETTE*) { return E_NOTIMPL; }

}  // namespace quarent::barcode
