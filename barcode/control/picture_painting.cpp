#include "control/picture_painting.h"

#include <cstring>
#include <memory>

#include "common/win_handles.h"
#include "control/gdi_painter.h"
#include "control/text_font_gdi.h"
#include "encoders/encoder_factory.h"
#include "layout/symbol_drawing.h"
#include "layout/symbol_geometry.h"

namespace quarent::barcode {
namespace {

COLORREF ToRgb(OLE_COLOR color) {
  COLORREF rgb = 0;
  if (FAILED(OleTranslateColor(color, nullptr, &rgb))) rgb = color & 0xFFFFFF;
  return rgb;
}

LONG Middle(LONG from, LONG to) { return static_cast<LONG>((static_cast<LONGLONG>(from) + to) / 2); }

void WriteNotice(HDC dc, const RECT& bounds, const char* notice) {
  SetTextAlign(dc, TA_CENTER | TA_BASELINE);
  TextOutA(dc, Middle(bounds.left, bounds.right), Middle(bounds.top, bounds.bottom), notice,
           static_cast<int>(strlen(notice)));
}

// Switches `dc` to MM_HIMETRIC, carrying `bounds` along to the new logical units.
void SwitchToHimetric(HDC dc, RECT& bounds) {
  if (GetMapMode(dc) == MM_HIMETRIC) return;
  LPtoDP(dc, reinterpret_cast<POINT*>(&bounds), 2);
  SetMapMode(dc, MM_HIMETRIC);
  DPtoLP(dc, reinterpret_cast<POINT*>(&bounds), 2);
}

std::unique_ptr<barcode::BarCodeEncoder> EncodedSymbol(const PictureSettings& settings, HRESULT* status) {
  std::unique_ptr<barcode::BarCodeEncoder> encoder = barcode::MakeEncoder(settings.style, settings.caption);
  if (!encoder) {
    *status = E_OUTOFMEMORY;
    return nullptr;
  }
  if (encoder->Encode() == nullptr) {
    *status = E_FAIL;
    return nullptr;
  }
  *status = S_OK;
  return encoder;
}

}  // namespace

PaintResult PaintPicture(HDC dc, RECT bounds, const PictureSettings& settings) {
  PaintResult result;
  GdiObject<HBRUSH> barBrush(CreateSolidBrush(ToRgb(settings.foreColor)));
  GdiObject<HBRUSH> backgroundBrush(CreateSolidBrush(ToRgb(settings.backColor)));
  FillRect(dc, &bounds, backgroundBrush.Get());

  if (GetDeviceCaps(dc, TECHNOLOGY) == DT_METAFILE) {
    WriteNotice(dc, bounds, "NOT SUPPORTED");
    result.outcome = PaintOutcome::NotSupportedNotice;
    return result;
  }
  SwitchToHimetric(dc, bounds);
  if (settings.caption.empty()) return result;

  GdiObject<HFONT> textFont = CreateTextFont(settings.font, settings.orientation);
  if (!textFont) {
    result.status = E_FAIL;
    result.error = barcode::PropertyError::FontNotTrueType;
    return result;
  }
  HRESULT status;
  std::unique_ptr<barcode::BarCodeEncoder> encoder = EncodedSymbol(settings, &status);
  barcode::Extent symbolExtent;
  if (!encoder || !encoder->GetSize(settings.moduleWidth, symbolExtent, settings.orientation)) {
    result.status = E_OUTOFMEMORY;
    return result;
  }

  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToRgb(settings.foreColor));

  // The text band is measured in the context painted into, the one Draw reads it from.
  const LONG textHeight = settings.showText ? TextHeightIn(dc, textFont.Get()).value_or(0) : 0;
  const barcode::Extent valid = barcode::WithTextBand(symbolExtent, textHeight, settings.orientation);
  if (barcode::AbsoluteLength(bounds.bottom, bounds.top) < valid.cy ||
      barcode::AbsoluteLength(bounds.left, bounds.right) < valid.cx) {
    SelectedObject selected(dc, textFont.Get());
    WriteNotice(dc, bounds, "SIZE");
    result.outcome = PaintOutcome::SizeNotice;
    return result;
  }

  barcode::DrawRequest request;
  request.bounds = {bounds.left, bounds.top, bounds.right, bounds.bottom};
  request.moduleWidth = settings.moduleWidth;
  request.orientation = settings.orientation;
  request.textAlignment = settings.textAlignment;
  request.barAlignment = settings.barAlignment;
  request.showText = settings.showText;
  request.textPrefix = settings.prefix;
  request.textSuffix = settings.suffix;
  GdiPainter painter(dc, barBrush.Get(), backgroundBrush.Get(), textFont.Get());
  DrawSymbol(*encoder, painter, request);
  result.outcome = PaintOutcome::Drawn;
  return result;
}

HRESULT ValidSizeOf(const PictureSettings& settings, HDC measureDc, barcode::Extent* size,
                    barcode::PropertyError* error) {
  *error = barcode::PropertyError::None;
  HRESULT status;
  std::unique_ptr<barcode::BarCodeEncoder> encoder = EncodedSymbol(settings, &status);
  if (!encoder) return status;
  barcode::Extent extent;
  if (!encoder->GetSize(settings.moduleWidth, extent, settings.orientation)) return E_FAIL;

  if (settings.showText && settings.font != nullptr && measureDc != nullptr) {
    GdiObject<HFONT> textFont = CreateTextFont(settings.font, settings.orientation);
    if (!textFont) {
      *error = barcode::PropertyError::FontNotTrueType;
      return E_FAIL;
    }
    const int saved = SaveDC(measureDc);
    SetMapMode(measureDc, MM_HIMETRIC);
    const std::optional<LONG> textHeight = TextHeightIn(measureDc, textFont.Get());
    RestoreDC(measureDc, saved);
    if (!textHeight) {
      *error = barcode::PropertyError::FontNotTrueType;
      return E_FAIL;
    }
    extent = barcode::WithTextBand(extent, *textHeight, settings.orientation);
  }
  *size = extent;
  return S_OK;
}

}  // namespace quarent::barcode
