#pragma once
// Painting an encoded symbol into a portable painter.
#include "encoders/barcode_encoder.h"
#include "layout/barcode_painter.h"

namespace quarent::barcode {

// Paints the background, the bars (one rectangle per module) and, when asked, the text of the
// symbol `encoder` holds into `painter` (see barcode_painter.h); without a symbol only the
// background. Returns true.
bool DrawSymbol(const BarCodeEncoder& encoder, BarCodePainter& painter, const DrawRequest& request);

}  // namespace quarent::barcode
