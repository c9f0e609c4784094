#pragma once
// Limits as the Edit Categories dialog reads them from its edit boxes: the
// four type families of its radio buttons, the text-to-limit conversions, and
// the comparison that decides whether OK writes a category back.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/filter_model.h"
#include "model/log_value.h"
#include "model/platform_text.h"

namespace quarent::brnlog {

// The type radio buttons of a bound, in the order the dialog looks at them.
enum class TypeFamily { kInteger, kString, kDecimal, kLong };

// The family whose button a limit of `type` checks, or nothing for a type of no family.
std::optional<TypeFamily> FamilyOfType(uint16_t type);

// The type a limit read with `family` gets: `currentType` when the family
// keeps it (Integer: VT_I2, VT_BOOL, VT_I1, VT_UI1, VT_UI2; String: VT_BSTR;
// Decimal: VT_R4, VT_R8; Long: VT_I4, VT_CY, VT_DATE, VT_UI4, VT_INT,
// VT_UINT), else the family's default (VT_I2, VT_BSTR, VT_R4, VT_I4).
uint16_t TypeForReading(TypeFamily family, uint16_t currentType);

// What the dialog reads from an edit box.
struct EditBoxText {
  std::string ansi;  // the box's text, at most 4095 bytes
  int32_t integer = 0;  // the text as the platform reads a signed integer (0 when it holds none)
};

// The limit `family` reads from `box` for a limit now of type `currentType`:
// integers in their type's width (low bits kept), the text as a string, a
// decimal by strtod (single precision for VT_R4), and for Long the integer in
// 32 bits, a VT_CY amount from its decimal text ("12", "-0.5", up to four
// decimals) and a VT_DATE from a whole number of days or else the platform's
// reading of the text as a date; unreadable numbers give 0.
LogValue ReadLimit(TypeFamily family, uint16_t currentType, const EditBoxText& box, const PlatformText& platform);

// The scaled currency integer of an amount like "-12.5" (optional spaces,
// sign, digits, point and up to four decimals, more decimals rounded), or
// nothing when `text` is not such an amount or out of range.
std::optional<int64_t> ParseCurrencyAmount(std::string_view text);

// True when `edited` differs from `stored` in its enabled flag, a condition or
// a limit (limits compared with the limit test's equality, under which empty
// limits never count as equal).
bool CategoryChanged(const Category& stored, const Category& edited);

}  // namespace quarent::brnlog
