// The IQRNBarCode methods: About box, text conversion and checks, valid size, DrawToDC.
#include "control/bar_code_control.h"

#include "common/about_box.h"
#include "resource.h"

namespace quarent::barcode {

STDMETHODIMP BarCodeControl::AboutBox() { return ShowAboutBox(IDS_PRODUCT_TITLE); }

STDMETHODIMP BarCodeControl::StringToBC128Font(BSTR source, Constants_FontSel mode, BSTR* result) {
  if (result == nullptr) return E_POINTER;
  // A character that would become another one in the ANSI code page is not supported.
  const std::optional<std::string> ansi = ToAnsiExactly(source);
  const barcode::FontStringResult converted =
      ansi ? barcode::Code128FontString(static_cast<barcode::BarStyle>(barStyle_), *ansi, mode)
           : barcode::FontStringResult{barcode::PropertyError::CharactersNotSupported, {}};
  if (converted.error == barcode::PropertyError::OutOfMemory) return E_OUTOFMEMORY;  // result untouched
  BSTR text = AnsiToBstr(converted.text);
  if (text == nullptr) return E_OUTOFMEMORY;
  *result = text;
  return converted.error == barcode::PropertyError::None ? S_OK : Refuse(converted.error);
}

STDMETHODIMP BarCodeControl::IsStringValid(BSTR source, VARIANT_BOOL* result) {
  if (result == nullptr) return E_POINTER;
  barcode::PropertyError error = barcode::PropertyError::None;
  const std::optional<std::string> ansi = ToAnsiExactly(source);
  const bool valid =
      ansi && barcode::IsTextValidForStyle(static_cast<barcode::BarStyle>(barStyle_), *ansi, &error);
  if (error == barcode::PropertyError::OutOfMemory) return E_OUTOFMEMORY;
  *result = valid ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

STDMETHODIMP BarCodeControl::GetValidSize(LONG* cx, LONG* cy, VARIANT_BOOL* result) {
  if (cx == nullptr || cy == nullptr || result == nullptr) return E_POINTER;
  *result = VARIANT_FALSE;
  barcode::Extent size;
  barcode::PropertyError error;
  const HRESULT status = ComputeValidSize(&size, &error);
  if (FAILED(status)) {
    if (error == barcode::PropertyError::None) return status;
    return ReportError(status, barcode::ErrorTextId(error), IID_IQRNBarCode, kControlProgId);
  }
  *cx = size.cx;
  *cy = size.cy;
  *result = VARIANT_TRUE;
  return S_OK;
}

STDMETHODIMP BarCodeControl::DrawToDC(LONG dc, LONG left, LONG top, LONG right, LONG bottom, VARIANT_BOOL* result) {
  if (result == nullptr) return E_POINTER;
  *result = VARIANT_FALSE;
  // The automation interface carries the handle as a 32-bit number.
  HDC context = reinterpret_cast<HDC>(static_cast<LONG_PTR>(dc));
  if (context == nullptr || GetMapMode(context) == 0) return E_INVALIDARG;
  const PaintResult painted = PaintInto(context, RECT{left, top, right, bottom});
  if (FAILED(painted.status)) {
    if (painted.error == barcode::PropertyError::FontNotTrueType) {
      return ReportError(painted.status, barcode::ErrorTextId(painted.error), IID_IQRNBarCode, kControlProgId);
    }
    return painted.status;
  }
  *result = VARIANT_TRUE;
  return S_OK;
}

}  // namespace quarent::barcode
