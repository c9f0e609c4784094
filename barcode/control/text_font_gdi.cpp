#include "control/text_font_gdi.h"

#include <algorithm>
#include <cstring>

#include "common/automation_types.h"

namespace quarent::barcode {

std::optional<barcode::FontDescription> DescribeFont(IFont* font) {
  if (font == nullptr) return std::nullopt;
  barcode::FontDescription description;
  Bstr name;
  CY size = {};
  BOOL bold = FALSE, italic = FALSE, underline = FALSE, strikeOut = FALSE;
  if (FAILED(font->get_Name(name.Receive())) || FAILED(font->get_Size(&size)) || FAILED(font->get_Bold(&bold)) ||
      FAILED(font->get_Italic(&italic)) || FAILED(font->get_Underline(&underline)) ||
      FAILED(font->get_Strikethrough(&strikeOut))) {
    return std::nullopt;
  }
  description.faceName = ToAnsi(name.Get());
  description.size = size.int64;
  description.bold = bold != FALSE;
  description.italic = italic != FALSE;
  description.underline = underline != FALSE;
  description.strikeOut = strikeOut != FALSE;
  return description;
}

GdiObject<HFONT> CreateTextFont(IFont* font, barcode::Orientation orientation) {
  const std::optional<barcode::FontDescription> description = DescribeFont(font);
  if (!description) return GdiObject<HFONT>();
  const barcode::LogicalTextFont textFont = barcode::TextFontFor(*description, orientation);
  LOGFONTA logical = {};
  logical.lfHeight = textFont.height;
  logical.lfEscapement = textFont.escapement;
  logical.lfOrientation = textFont.escapement;
  logical.lfWeight = textFont.weight;
  logical.lfItalic = textFont.italic ? TRUE : FALSE;
  logical.lfUnderline = textFont.underline ? TRUE : FALSE;
  logical.lfStrikeOut = textFont.strikeOut ? TRUE : FALSE;
  logical.lfCharSet = 0;
  const size_t nameLength = std::min(textFont.faceName.size(), sizeof(logical.lfFaceName) - 1);
  std::memcpy(logical.lfFaceName, textFont.faceName.data(), nameLength);
  return GdiObject<HFONT>(CreateFontIndirectA(&logical));
}

std::optional<LONG> TextHeightIn(HDC dc, HFONT font) {
  if (font == nullptr) return std::nullopt;
  SelectedObject selected(dc, font);
  TEXTMETRICA metrics = {};
  if (!GetTextMetricsA(dc, &metrics)) return std::nullopt;
  return metrics.tmHeight;
}

namespace {

int CALLBACK RecordFirstFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD fontType, LPARAM result) {
  *reinterpret_cast<DWORD*>(result) = fontType;
  return 0;  // the first match decides
}

}  // namespace

bool IsTrueTypeFamily(HDC dc, const std::string& faceName) {
  LOGFONTA wanted = {};
  wanted.lfCharSet = 0;
  const size_t nameLength = std::min(faceName.size(), sizeof(wanted.lfFaceName) - 1);
  std::memcpy(wanted.lfFaceName, faceName.data(), nameLength);
  DWORD fontType = 0xFFFFFFFF;
  EnumFontFamiliesExA(dc, &wanted, &RecordFirstFamily, reinterpret_cast<LPARAM>(&fontType), 0);
  return fontType != 0xFFFFFFFF && (fontType & TRUETYPE_FONTTYPE) != 0;
}

}  // namespace quarent::barcode
