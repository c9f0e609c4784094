// The client site and what the control takes from it: ambient properties and, once sited,
// its default font.
#include "control/bar_code_control.h"

namespace quarent::barcode {
namespace {

constexpr OLE_COLOR kWhite = 0xFFFFFF;

}  // namespace

STDMETHODIMP BarCodeControl::SetClientSite(IOleClientSite* site) {
  clientSite_ = ComPtr<IOleClientSite>(site);
  ambient_ = clientSite_ ? clientSite_.As<IDispatch>() : ComPtr<IDispatch>();
  if (!clientSite_) return S_OK;
  TakeAmbientBackColor();
  EnsureDefaultFont();
  return S_OK;
}

STDMETHODIMP BarCodeControl::GetClientSite(IOleClientSite** site) {
  if (site == nullptr) return E_POINTER;
  *site = clientSite_.Get();
  if (*site) (*site)->AddRef();
  return S_OK;
}

HRESULT BarCodeControl::GetAmbientProperty(DISPID id, VARIANT* value) {
  VariantInit(value);
  if (!ambient_) return E_FAIL;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  return ambient_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value, nullptr, nullptr);
}

bool BarCodeControl::AmbientUserMode() {
  Variant mode;
  if (FAILED(GetAmbientProperty(DISPID_AMBIENT_USERMODE, mode.Get()))) return true;
  if (FAILED(VariantChangeType(mode.Get(), mode.Get(), 0, VT_BOOL))) return true;
  return mode->boolVal != VARIANT_FALSE;
}

void BarCodeControl::TakeAmbientBackColor() {
  if (!backColorIsInitial_) return;
  Variant color;
  OLE_COLOR ambientColor = kWhite;
  if (SUCCEEDED(GetAmbientProperty(DISPID_AMBIENT_BACKCOLOR, color.Get()))) {
    if (color->vt == VT_I4) {
      // Containers often hand a colour over as a signed number; a system colour is then
      // negative, and only its bits mean anything.
      ambientColor = static_cast<OLE_COLOR>(color->lVal);
    } else if (SUCCEEDED(VariantChangeType(color.Get(), color.Get(), 0, VT_UI4))) {
      ambientColor = color->ulVal;
    }
  }
  if (ambientColor == backColor_) return;
  backColor_ = ambientColor;
  Repaint();
}

void BarCodeControl::EnsureDefaultFont() {
  if (font_) return;
  FONTDESC description = {};
  description.cbSizeofstruct = sizeof(description);
  description.lpstrName = const_cast<LPOLESTR>(L"Arial Narrow");
  description.cySize.int64 = 10 * 10000;  // 10 pt
  description.sWeight = FW_NORMAL;
  description.sCharset = 0;
  ComPtr<IFontDisp> font;
  if (SUCCEEDED(OleCreateFontIndirect(&description, IID_IFontDisp, font.ReceiveVoid()))) SetFontObject(font.Get());
}

}  // namespace quarent::barcode
