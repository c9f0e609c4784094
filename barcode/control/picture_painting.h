#pragma once
// The control's picture: background, bars and text, or one of the notices, painted into any
// device context; and the valid size the picture needs.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "encoders/barcode_encoder.h"
#include "encoders/barcode_types.h"
#include "model/property_rules.h"

namespace quarent::barcode {

// The properties a picture is painted from (ANSI texts).
struct PictureSettings {
  barcode::BarStyle style = barcode::BarStyle::Code128;
  std::string caption;
  std::string prefix;
  std::string suffix;
  std::int32_t moduleWidth = 35;
  barcode::Orientation orientation = barcode::Orientation::Horizontally;
  barcode::Alignment textAlignment = barcode::Alignment::Center;
  barcode::Alignment barAlignment = barcode::Alignment::Left;
  bool showText = true;
  OLE_COLOR foreColor = 0;
  OLE_COLOR backColor = 0xFFFFFF;
  // The control's font object (not owned); null before the control has a site.
  IFont* font = nullptr;
};

// What a paint left in the rectangle.
enum class PaintOutcome {
  // The background only: empty caption, or a failure.
  Background,
  // The symbol (and its text when shown).
  Drawn,
  // The notice "SIZE": the rectangle is smaller than the valid size.
  SizeNotice,
  // The notice "NOT SUPPORTED": a metafile context.
  NotSupportedNotice,
};

struct PaintResult {
  HRESULT status = S_OK;
  // FontNotTrueType when the text font could not be made (status E_FAIL).
  barcode::PropertyError error = barcode::PropertyError::None;
  PaintOutcome outcome = PaintOutcome::Background;
};

// Paints the picture into `dc` over `bounds`, given in the logical units of its mapping mode.
// The context is switched to MM_HIMETRIC on the way: callers keep its state (SaveDC/RestoreDC).
PaintResult PaintPicture(HDC dc, RECT bounds, const PictureSettings& settings);

// The smallest extent (0.01 mm) in which the picture is drawn rather than "SIZE": the symbol
// with its quiet zones plus, when the text is shown and there is a font, the text font's
// character height as measured in `measureDc`. Fails with E_OUTOFMEMORY when no encoder can
// be made, E_FAIL when the caption cannot be encoded or (error FontNotTrueType) the text font
// cannot be made.
HRESULT ValidSizeOf(const PictureSettings& settings, HDC measureDc, barcode::Extent* size,
                    barcode::PropertyError* error);

}  // namespace quarent::barcode
