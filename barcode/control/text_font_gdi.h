#pragma once
// The text font of the control made from its font object, and the TrueType test of a font.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <optional>

#include "common/win_handles.h"
#include "layout/text_font.h"

namespace quarent::barcode {

// The font object's name (ANSI), size, weight and styles; nothing when it cannot be read.
std::optional<barcode::FontDescription> DescribeFont(IFont* font);

// The text font of `font` beside a symbol of `orientation`, in 0.01 mm units; empty when
// there is no font object or the font cannot be made.
GdiObject<HFONT> CreateTextFont(IFont* font, barcode::Orientation orientation);

// Character height (tmHeight) of `font` in `dc`'s logical units; nothing on failure.
std::optional<LONG> TextHeightIn(HDC dc, HFONT font);

// True when the first font family named `faceName` in character set 0 that `dc` knows is a
// TrueType font.
bool IsTrueTypeFamily(HDC dc, const std::string& faceName);

}  // namespace quarent::barcode
