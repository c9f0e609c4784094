// The text of each value type in the Value column.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "fake_platform_text.h"
#include "model/value_text.h"

namespace quarent::brnlog {
namespace {

using fakes::DoubleByteText;
using fakes::Latin1Text;
using fakes::Wide;

struct TextCase {
  const char* note;
  LogValue value;
  std::string text;
};

TEST(ValueTextTest, EachTypeHasItsText) {
  const TextCase cases[] = {
      {"I2 signed", LogValue::Integer(kVtI2, 0xFFFB), "-5"},
      {"BOOL true is -1", LogValue::Integer(kVtBool, 0xFFFF), "-1"},
      {"BOOL false", LogValue::Integer(kVtBool, 0), "0"},
      {"I4 lowest", LogValue::Integer(kVtI4, 0x80000000), "-2147483648"},
      {"INT signed", LogValue::Integer(kVtInt, 0xFFFFFFFF), "-1"},
      {"UI4 unsigned", LogValue::Integer(kVtUI4, 0xFFFFFFFF), "4294967295"},
      {"UINT unsigned", LogValue::Integer(kVtUInt, 0x80000000), "2147483648"},
      {"I1 signed", LogValue::Integer(kVtI1, 0x80), "-128"},
      {"UI1 unsigned", LogValue::Integer(kVtUI1, 0xFF), "255"},
      {"UI2 unsigned", LogValue::Integer(kVtUI2, 0xFFFF), "65535"},
      {"R8 with six decimals", LogValue::Real(kVtR8, 1.5), "1.500000"},
      {"R8 negative, rounded", LogValue::Real(kVtR8, -2.0000005), "-2.000001"},
      {"R4 single precision", LogValue::Real(kVtR4, 0.1), "0.100000"},
      {"CY with four decimals", LogValue::Currency(15000), "1.5000"},
      {"CY negative", LogValue::Currency(-123450), "-12.3450"},
      {"CY below one unit", LogValue::Currency(-5), "-0.0005"},
      {"CY lowest", LogValue::Currency(INT64_MIN), "-922337203685477.5808"},
      {"CY highest", LogValue::Currency(INT64_MAX), "922337203685477.5807"},
      {"DATE as the platform formats it", LogValue::Real(kVtDate, 36526.5), "date 36526.500000"},
      {"BSTR", LogValue::String(Wide("abc")), "abc"},
      {"BSTR empty", LogValue::String(std::u16string()), ""},
      {"BSTR null is one space", LogValue::String(std::nullopt), " "},
      {"BSTR limited to 4095 bytes", LogValue::String(Wide(std::string(5000, 's'))), std::string(4095, 's')},
      {"EMPTY", LogValue::Empty(), ""},
      {"NULL", LogValue::Opaque(kVtNull), ""},
      {"ERROR (an omitted argument)", LogValue::Opaque(10), ""},
      {"by reference", LogValue::Opaque(kVtI4 | 0x4000), ""},
  };
  for (const TextCase& row : cases) {
    SCOPED_TRACE(row.note);
    EXPECT_EQ(ValueText(row.value, Latin1Text()), row.text);
  }
}

TEST(ValueTextTest, LongStringIsCutBetweenCharacters) {
  std::string pairs;
  for (int i = 0; i < 2100; ++i) pairs += "\x81\x40";  // 4200 bytes
  const std::string text = ValueText(LogValue::String(Wide(pairs)), DoubleByteText());
  EXPECT_EQ(text, pairs.substr(0, 4094));
}

}  // namespace
}  // namespace quarent::brnlog
