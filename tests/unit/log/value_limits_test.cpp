// Comparisons of message values with limits and the limit test's decisions.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>

#include "fake_platform_text.h"
#include "model/value_limits.h"

namespace quarent::brnlog {
namespace {

using fakes::Wide;

LogValue I4(int32_t number) { return LogValue::Integer(kVtI4, static_cast<uint32_t>(number)); }
LogValue I2(int16_t number) { return LogValue::Integer(kVtI2, static_cast<uint16_t>(number)); }
LogValue R8(double number) { return LogValue::Real(kVtR8, number); }
LogValue Text(const char* text) { return LogValue::String(Wide(text)); }
LogValue NullText() { return LogValue::String(std::nullopt); }

struct ComparisonCase {
  const char* note;
  LogValue value;
  LogValue limit;
  bool less;
  bool greater;
  bool equal;
};

TEST(CompareTest, OrdersEachTypeByItsOwnRules) {
  const float tenth = 0.1f;
  const ComparisonCase cases[] = {
      {"I2 signed", I2(-1), I2(1), true, false, false},
      {"I2 equal", I2(7), I2(7), false, false, true},
      {"UI2 unsigned: 0xFFFF is large", LogValue::Integer(kVtUI2, 0xFFFF), LogValue::Integer(kVtUI2, 1), false, true,
       false},
      {"BOOL signed: true (-1) below false (0)", LogValue::Integer(kVtBool, 0xFFFF), LogValue::Integer(kVtBool, 0),
       true, false, false},
      {"I4 signed", I4(-5), I4(3), true, false, false},
      {"INT signed", LogValue::Integer(kVtInt, 0xFFFFFFFF), LogValue::Integer(kVtInt, 0), true, false, false},
      {"UI4 unsigned", LogValue::Integer(kVtUI4, 0xFFFFFFFF), LogValue::Integer(kVtUI4, 1), false, true, false},
      {"UINT unsigned", LogValue::Integer(kVtUInt, 0x80000000), LogValue::Integer(kVtUInt, 1), false, true, false},
      {"I1 signed: 0x80 is -128", LogValue::Integer(kVtI1, 0x80), LogValue::Integer(kVtI1, 1), true, false, false},
      {"UI1 unsigned: 0x80 is 128", LogValue::Integer(kVtUI1, 0x80), LogValue::Integer(kVtUI1, 1), false, true,
       false},
      {"CY on the 64-bit integer", LogValue::Currency(-1), LogValue::Currency(INT64_C(1) << 40), true, false, false},
      {"CY equal", LogValue::Currency(15000), LogValue::Currency(15000), false, false, true},
      // The next float above 0.1f lies 7.45e-9 away, inside the 2^-23 epsilon.
      {"R4 within epsilon is equal and greater", LogValue::Real(kVtR4, std::nextafter(tenth, 1.0f)),
       LogValue::Real(kVtR4, tenth), false, true, true},
      {"R4 beyond epsilon", LogValue::Real(kVtR4, 0.1f + 3e-7f), LogValue::Real(kVtR4, tenth), false, true, false},
      // 0.3 - 0.2 is 0.09999999999999998, 2.8e-17 below 0.1.
      {"R8 within epsilon is equal and less", R8(0.3 - 0.2), R8(0.1), true, false, true},
      {"R8 beyond epsilon", R8(0.1 + 1e-15), R8(0.1), false, true, false},
      {"DATE equal only exactly", LogValue::Real(kVtDate, std::nextafter(2.0, 3.0)), LogValue::Real(kVtDate, 2.0),
       false, true, false},
      {"DATE equal", LogValue::Real(kVtDate, 36526.5), LogValue::Real(kVtDate, 36526.5), false, false, true},
      {"BSTR by code unit", Text("a"), Text("b"), true, false, false},
      {"BSTR prefix is less", Text("M"), Text("Ma"), true, false, false},
      {"BSTR case significant: M below m", Text("M"), Text("m"), true, false, false},
      {"BSTR equal", Text("Disk"), Text("Disk"), false, false, true},
      {"BSTR unsigned code units", LogValue::String(std::u16string(1, u'\xFFFF')), Text("a"), false, true, false},
      {"BSTR null below empty", NullText(), Text(""), true, false, false},
      {"BSTR empty above null", Text(""), NullText(), false, true, false},
      {"BSTR null equals null", NullText(), NullText(), false, false, true},
      {"types differ", I2(5), I4(5), false, false, false},
      {"by-reference type word differs", LogValue::Opaque(kVtI4 | 0x4000), I4(5), false, false, false},
      {"empty values never compare", LogValue::Empty(), LogValue::Empty(), false, false, false},
      {"other types never compare", LogValue::Opaque(9), LogValue::Opaque(9), false, false, false},
  };
  for (const ComparisonCase& row : cases) {
    SCOPED_TRACE(row.note);
    const Comparison result = Compare(row.value, row.limit);
    EXPECT_EQ(result.less, row.less);
    EXPECT_EQ(result.greater, row.greater);
    EXPECT_EQ(result.equal, row.equal);
  }
}

TEST(CompareTest, AValueEqualToItsLimitPassesInclusiveConditionsAtEveryMagnitude) {
  const double magnitudes[] = {0.0,  1e-300, 0.1,    1.0,    2.0,     3.0,   10.0,    4096.0,  5000.25,
                               8192, 1e5,    1e6,    1e15,   -4096.0, -1e6,  1e300,   DBL_MAX, -DBL_MAX};
  for (const double magnitude : magnitudes) {
    for (const uint16_t type : {kVtR8, kVtR4}) {
      const double number = type == kVtR4 ? static_cast<float>(magnitude) : magnitude;
      SCOPED_TRACE(testing::Message() << (type == kVtR4 ? "R4 " : "R8 ") << number);
      const LogValue limit = LogValue::Real(type, number);
      EXPECT_TRUE(SatisfiesCondition(limit, kConditionGreaterEqual, limit));
      EXPECT_TRUE(SatisfiesCondition(limit, kConditionLessEqual, limit));
      EXPECT_FALSE(SatisfiesCondition(limit, kConditionGreater, limit));
      EXPECT_FALSE(SatisfiesCondition(limit, kConditionLess, limit));
    }
  }
  // Away from zero the next value up is no longer equal: only the equal value itself joins.
  const LogValue above = R8(std::nextafter(4096.0, 5000.0));
  EXPECT_FALSE(SatisfiesCondition(above, kConditionLessEqual, R8(4096.0)));
  EXPECT_TRUE(SatisfiesCondition(above, kConditionGreater, R8(4096.0)));
}

struct LimitCase {
  const char* note;
  Limits limits;
  LogValue value;
  bool passes;
};

Limits Bounds(int16_t lowerCondition, LogValue lower, int16_t upperCondition, LogValue upper) {
  return Limits{std::move(lower), lowerCondition, std::move(upper), upperCondition};
}

TEST(PassesLimitsTest, DecidesByConditionsAndResults) {
  const Limits inside = Bounds(kConditionGreaterEqual, I4(10), kConditionLess, I4(20));
  const Limits outside = Bounds(kConditionLess, I4(10), kConditionGreater, I4(20));
  const Limits textAbove = Bounds(kConditionGreater, Text("M"), kConditionNone, LogValue::Empty());
  const LimitCase cases[] = {
      {"inside range: lower end", inside, I4(10), true},
      {"inside range: upper end", inside, I4(19), true},
      {"inside range: below", inside, I4(9), false},
      {"inside range: at exclusive upper", inside, I4(20), false},
      {"inside range: other type fails", inside, I2(15), false},
      {"outside range: below", outside, I4(5), true},
      {"outside range: above", outside, I4(25), true},
      {"outside range: inside fails", outside, I4(15), false},
      {"empty value passes any limits", inside, LogValue::Empty(), true},
      {"null value passes any limits", inside, LogValue::Opaque(kVtNull), true},
      {"no conditions pass everything", Bounds(kConditionNone, I4(10), -3, I4(20)), I2(99), true},
      // 0.1 * 3 - 0.2 is 0.10000000000000003: above 0.1, but within 2^-52.
      {"R8 <= admits 0.1 by another route", Bounds(kConditionLessEqual, R8(0.1), 0, {}), R8(0.1 * 3 - 0.2), true},
      {"R8 <= rejects 0.1 plus 1e-15", Bounds(kConditionLessEqual, R8(0.1), 0, {}), R8(0.1 + 1e-15), false},
      {"string > M: N", textAbove, Text("N"), true},
      {"string > M: Ma", textAbove, Text("Ma"), true},
      {"string > M: L", textAbove, Text("L"), false},
      {"string > M: M", textAbove, Text("M"), false},
      {"string > M: m", textAbove, Text("m"), true},
      {"string > M: null", textAbove, NullText(), false},
      {"upper only: <= 7 at 7", Bounds(kConditionNone, {}, kConditionLessEqual, I4(7)), I4(7), true},
      {"upper only: <= 7 at 8", Bounds(kConditionNone, {}, kConditionLessEqual, I4(7)), I4(8), false},
      {"negative lower disregards failed upper >", Bounds(-1, {}, kConditionGreater, I4(100)), I4(5), true},
      {"negative lower keeps failed upper <", Bounds(-1, {}, kConditionLess, I4(1)), I4(5), false},
      {"unknown lower condition tests nothing", Bounds(9, I4(1000), kConditionLess, I4(10)), I4(5), true},
      {"unknown lower with failed upper <", Bounds(9, I4(1000), kConditionLess, I4(10)), I4(50), false},
      {"lower < with unknown upper admits all", Bounds(kConditionLess, I4(10), 7, I4(0)), I4(50), true},
  };
  for (const LimitCase& row : cases) {
    SCOPED_TRACE(row.note);
    EXPECT_EQ(PassesLimits(row.limits, row.value), row.passes);
  }
}

}  // namespace
}  // namespace quarent::brnlog
