// The IQRNBarCode properties: their checks, storage and change reports.
#include "control/bar_code_control.h"

#include "common/property_access.h"
#include "control/text_font_gdi.h"

namespace quarent::barcode {
namespace {

enum PropertyId : DISPID {
  kAutoSizeId = -500,
  kBackColorId = -501,
  kFontId = -512,
  kForeColorId = -513,
  kCaptionId = -518,
  kVisibleId = 1,
  kBarStyleId = 1000,
  kTextShowId = 1001,
  kTextPrefixId = 1002,
  kTextSuffixId = 1003,
  kBarWidthId = 1004,
  kTextAlignmentId = 1005,
  kBarAlignmentId = 1006,
  kBarOrientationId = 1007,
};

}  // namespace

STDMETHODIMP BarCodeControl::get__Default(BSTR* value) { return get_Caption(value); }

STDMETHODIMP BarCodeControl::put__Default(BSTR value) { return put_Caption(value); }

STDMETHODIMP BarCodeControl::put_BackColor(OLE_COLOR color) {
  if (RequestEdit(kBackColorId) == S_FALSE) return S_FALSE;
  backColor_ = color;
  backColorIsInitial_ = false;
  NotifyChanged(kBackColorId);
  PropertyChanged(false);
  if (dataAdvise_) dataAdvise_->SendOnDataChange(static_cast<IDataObject*>(this), 0, 0);
  return S_OK;
}

STDMETHODIMP BarCodeControl::get_BackColor(OLE_COLOR* color) { return ValueOut(backColor_, color); }

STDMETHODIMP BarCodeControl::put_ForeColor(OLE_COLOR color) {
  if (RequestEdit(kForeColorId) == S_FALSE) return S_FALSE;
  foreColor_ = color;
  NotifyChanged(kForeColorId);
  PropertyChanged(false);
  if (dataAdvise_) dataAdvise_->SendOnDataChange(static_cast<IDataObject*>(this), 0, 0);
  return S_OK;
}

STDMETHODIMP BarCodeControl::get_ForeColor(OLE_COLOR* color) { return ValueOut(foreColor_, color); }

STDMETHODIMP BarCodeControl::put_AutoSize(VARIANT_BOOL value) {
  if (value == autoSize_) return S_OK;
  autoSize_ = value;
  NotifyChanged(kAutoSizeId);
  PropertyChanged(true);
  return S_OK;
}

STDMETHODIMP BarCodeControl::get_AutoSize(VARIANT_BOOL* value) { return ValueOut(autoSize_, value); }

STDMETHODIMP BarCodeControl::put_Font(IFontDisp* font) {
  ComPtr<IFont> asFont;
  if (font != nullptr) font->QueryInterface(IID_IFont, asFont.ReceiveVoid());
  if (!asFont) return Refuse(barcode::PropertyError::FontNotTrueType);
  ComPtr<IFont> clone;
  if (FAILED(asFont->Clone(clone.Receive())) || !clone) return E_OUTOFMEMORY;
  ComPtr<IFontDisp> copy = clone.As<IFontDisp>();
  if (!copy) return E_OUTOFMEMORY;
  return putref_Font(copy.Get());
}

STDMETHODIMP BarCodeControl::putref_Font(IFontDisp* font) {
  ComPtr<IFont> asFont;
  if (font != nullptr) font->QueryInterface(IID_IFont, asFont.ReceiveVoid());
  if (!asFont) return Refuse(barcode::PropertyError::FontNotTrueType);
  if (window_) {
    const std::optional<barcode::FontDescription> description = DescribeFont(asFont.Get());
    HDC dc = GetDC(window_.Get());
    const bool trueType = description && dc && IsTrueTypeFamily(dc, description->faceName);
    if (dc) ReleaseDC(window_.Get(), dc);
    if (!trueType) return Refuse(barcode::PropertyError::FontNotTrueType);
  }
  if (RequestEdit(kFontId) == S_FALSE) return S_FALSE;
  SetFontObject(font);
  NotifyChanged(kFontId);
  PropertyChanged(true);
  return S_OK;
}

STDMETHODIMP BarCodeControl::get_Font(IFontDisp** font) {
  if (font == nullptr) return E_POINTER;
  *font = font_.Get();
  if (*font) (*font)->AddRef();
  return S_OK;
}

STDMETHODIMP BarCodeControl::put_Caption(BSTR caption) {
  // The barcode must encode what the caption says: a character that would
  // become another one in the ANSI code page is not supported.
  const std::optional<std::string> ansi = ToAnsiExactly(caption);
  const barcode::PropertyError error =
      ansi ? barcode::CheckCaption(static_cast<barcode::BarStyle>(barStyle_), *ansi)
           : barcode::PropertyError::CharactersNotSupported;
  if (error != barcode::PropertyError::None) return Refuse(error);
  // A refused edit is not applied, as for every other property that asks first.
  const HRESULT permission = RequestEdit(kCaptionId);
  if (permission != S_OK) return permission;
  Bstr previous = std::move(caption_);
  const HRESULT copied = StringIn(caption, caption_);
  if (FAILED(copied)) {
    caption_ = std::move(previous);
    return copied;
  }
  const HRESULT reported = NotifyChanged(kCaptionId);
  if (FAILED(reported)) {
    caption_ = std::move(previous);
    return reported;
  }
  PropertyChanged(true);
  return S_OK;
}

STDMETHODIMP BarCodeControl::get_Caption(BSTR* caption) { return NullableStringOut(caption_, caption); }

STDMETHODIMP BarCodeControl::get_BarStyle(Constants_BarCodeSel* value) {
  return ValueOut(static_cast<Constants_BarCodeSel>(barStyle_), value);
}

STDMETHODIMP BarCodeControl::put_BarStyle(Constants_BarCodeSel value) {
  const barcode::PropertyError error = barcode::CheckStyleForCaption(value, ToAnsi(caption_.Get()));
  if (error != barcode::PropertyError::None) return Refuse(error);
  barStyle_ = value;
  NotifyChanged(kBarStyleId);
  PropertyChanged(true);
  return S_OK;
}

STDMETHODIMP BarCodeControl::get_Visible(VARIANT_BOOL* value) { return ValueOut(visible_, value); }

STDMETHODIMP BarCodeControl::put_Visible(VARIANT_BOOL value) {
  visible_ = value;
  // At design time the window stays visible so that the control can be edited.
  if (window_ && AmbientUserMode()) ShowWindow(window_.Get(), value != VARIANT_FALSE ? SW_SHOW : SW_HIDE);
  NotifyChanged(kVisibleId);
  PropertyChanged(false);
  return S_OK;
}

STDMETHODIMP BarCodeControl::get_TextShow(VARIANT_BOOL* value) { return ValueOut(textShow_, value); }

STDMETHODIMP BarCodeControl::put_TextShow(VARIANT_BOOL value) {
  textShow_ = value;
  NotifyChanged(kTextShowId);
  PropertyChanged(true);
  return S_OK;
}

STDMETHODIMP BarCodeControl::get_TextPrefix(BSTR* value) { return NullableStringOut(textPrefix_, value); }

STDMETHODIMP BarCodeControl::put_TextPrefix(BSTR value) {
  const HRESULT copied = StringIn(value, textPrefix_);
  if (FAILED(copied)) return copied;
  NotifyChanged(kTextPrefixId);
  PropertyChanged(false);
  return S_OK;
}

STDMETHODIMP BarCodeControl::get_TextSuffix(BSTR* value) { return NullableStringOut(textSuffix_, value); }

STDMETHODIMP BarCodeControl::put_TextSuffix(BSTR value) {
  const HRESULT copied = StringIn(value, textSuffix_);
  if (FAILED(copied)) return copied;
  NotifyChanged(kTextSuffixId);
  PropertyChanged(false);
  return S_OK;
}

STDMETHODIMP BarCodeControl::get_BarWidth(LONG* value) { return ValueOut(barWidth_, value); }

STDMETHODIMP BarCodeControl::put_BarWidth(LONG value) {
  const barcode::PropertyError error = barcode::CheckBarWidth(value);
  if (error != barcode::PropertyError::None) return Refuse(error);
  barWidth_ = value;
  NotifyChanged(kBarWidthId);
  PropertyChanged(true);
  return S_OK;
}

STDMETHODIMP BarCodeControl::get_TextAlignment(Constants_Alignment* value) {
  return ValueOut(static_cast<Constants_Alignment>(textAlignment_), value);
}

STDMETHODIMP BarCodeControl::put_TextAlignment(Constants_Alignment value) {
  if (barcode::CheckAlignment(value) != barcode::PropertyError::None) return E_INVALIDARG;
  textAlignment_ = value;
  NotifyChanged(kTextAlignmentId);
  PropertyChanged(false);
  return S_OK;
}

STDMETHODIMP BarCodeControl::get_BarAlignment(Constants_Alignment* value) {
  return ValueOut(static_cast<Constants_Alignment>(barAlignment_), value);
}

STDMETHODIMP BarCodeControl::put_BarAlignment(Constants_Alignment value) {
  if (barcode::CheckAlignment(value) != barcode::PropertyError::None) return E_INVALIDARG;
  barAlignment_ = value;
  NotifyChanged(kBarAlignmentId);
  PropertyChanged(false);
  return S_OK;
}

STDMETHODIMP BarCodeControl::get_BarOrientation(Constants_Orientation* value) {
  return ValueOut(static_cast<Constants_Orientation>(barOrientation_), value);
}

STDMETHODIMP BarCodeControl::put_BarOrientation(Constants_Orientation value) {
  if (barcode::CheckOrientation(value) != barcode::PropertyError::None) return E_INVALIDARG;
  barOrientation_ = value;
  NotifyChanged(kBarOrientationId);
  PropertyChanged(true);
  return S_OK;
}

STDMETHODIMP BarCodeControl::get_IsBarValid(VARIANT_BOOL* value) { return ValueOut(isBarValid_, value); }

}  // namespace quarent::barcode
