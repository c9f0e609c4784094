// Reading limits from the Edit Categories dialog's edit boxes.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "fake_platform_text.h"
#include "model/limit_entry.h"

namespace quarent::brnlog {
namespace {

using fakes::Latin1Text;
using fakes::Wide;

TEST(LimitEntryTest, FamiliesKeepTheirTypesAndDefaultOthers) {
  struct Case {
    TypeFamily family;
    uint16_t current;
    uint16_t read;
  };
  const Case cases[] = {
      {TypeFamily::kInteger, kVtEmpty, kVtI2},   {TypeFamily::kInteger, kVtI4, kVtI2},
      {TypeFamily::kInteger, kVtUI1, kVtUI1},    {TypeFamily::kInteger, kVtBool, kVtBool},
      {TypeFamily::kInteger, kVtI1, kVtI1},      {TypeFamily::kInteger, kVtUI2, kVtUI2},
      {TypeFamily::kString, kVtI4, kVtBstr},     {TypeFamily::kString, kVtBstr, kVtBstr},
      {TypeFamily::kDecimal, kVtR8, kVtR8},      {TypeFamily::kDecimal, kVtI4, kVtR4},
      {TypeFamily::kDecimal, kVtDate, kVtR4},    {TypeFamily::kLong, kVtCy, kVtCy},
      {TypeFamily::kLong, kVtDate, kVtDate},     {TypeFamily::kLong, kVtUInt, kVtUInt},
      {TypeFamily::kLong, kVtI2, kVtI4},         {TypeFamily::kLong, kVtBstr, kVtI4},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(::testing::Message() << "family " << static_cast<int>(row.family) << " type " << row.current);
    EXPECT_EQ(TypeForReading(row.family, row.current), row.read);
    EXPECT_EQ(FamilyOfType(row.read), row.family);
  }
  for (uint16_t type : {uint16_t{kVtEmpty}, uint16_t{kVtNull}, uint16_t{9}, uint16_t{kVtI4 | 0x4000}}) {
    EXPECT_FALSE(FamilyOfType(type).has_value()) << type;
  }
}

struct ReadCase {
  const char* note;
  TypeFamily family;
  uint16_t current;
  EditBoxText box;
  uint16_t type;
  uint64_t bits;
  double real;
};

TEST(LimitEntryTest, ReadsNumbersInTheirTypesWidth) {
  const ReadCase cases[] = {
      {"70000 as Integer keeps the low 16 bits", TypeFamily::kInteger, kVtEmpty, {"70000", 70000}, kVtI2, 4464, 0},
      {"-1 as UI1", TypeFamily::kInteger, kVtUI1, {"-1", -1}, kVtUI1, 0xFF, 0},
      {"300 as I1", TypeFamily::kInteger, kVtI1, {"300", 300}, kVtI1, 44, 0},
      {"no number reads 0", TypeFamily::kInteger, kVtI2, {"abc", 0}, kVtI2, 0, 0},
      {"Long default I4", TypeFamily::kLong, kVtR8, {"-2", -2}, kVtI4, 0xFFFFFFFE, 0},
      {"Long keeps UI4", TypeFamily::kLong, kVtUI4, {"-1", -1}, kVtUI4, 0xFFFFFFFF, 0},
      {"Long CY reads an amount", TypeFamily::kLong, kVtCy, {"12.5", 12}, kVtCy, 125000, 0},
      {"Long CY whole number is whole units", TypeFamily::kLong, kVtCy, {"5", 5}, kVtCy, 50000, 0},
      {"Long CY unreadable is 0", TypeFamily::kLong, kVtCy, {"five", 0}, kVtCy, 0, 0},
      {"Long DATE whole number is days", TypeFamily::kLong, kVtDate, {"36526", 36526}, kVtDate, 0, 36526},
      {"Long DATE text is read as a date", TypeFamily::kLong, kVtDate, {"date 1.25", 0}, kVtDate, 0, 1.25},
      {"Long DATE unreadable is 0", TypeFamily::kLong, kVtDate, {"soon", 0}, kVtDate, 0, 0},
      {"Decimal default single precision", TypeFamily::kDecimal, kVtI4, {"0.1", 0}, kVtR4, 0, double(0.1f)},
      {"Decimal keeps R8", TypeFamily::kDecimal, kVtR8, {"0.1", 0}, kVtR8, 0, 0.1},
      {"Decimal reads a prefix like strtod", TypeFamily::kDecimal, kVtR8, {"1e3x", 1}, kVtR8, 0, 1000},
      {"Decimal unreadable is 0", TypeFamily::kDecimal, kVtR8, {"x", 0}, kVtR8, 0, 0},
  };
  for (const ReadCase& row : cases) {
    SCOPED_TRACE(row.note);
    const LogValue value = ReadLimit(row.family, row.current, row.box, Latin1Text());
    EXPECT_EQ(value.type, row.type);
    EXPECT_EQ(value.bits, row.bits);
    EXPECT_EQ(value.real, row.real);
  }
}

TEST(LimitEntryTest, StringReadsTheTextItself) {
  const LogValue value = ReadLimit(TypeFamily::kString, kVtI2, {"Disk 7", 0}, Latin1Text());
  EXPECT_EQ(value.type, kVtBstr);
  EXPECT_EQ(value.text, Wide("Disk 7"));
  const LogValue empty = ReadLimit(TypeFamily::kString, kVtBstr, {"", 0}, Latin1Text());
  EXPECT_EQ(empty.text, std::u16string());
}

TEST(LimitEntryTest, CurrencyAmounts) {
  struct Case {
    const char* text;
    std::optional<int64_t> scaled;
  };
  const Case cases[] = {
      {"0", 0},
      {"12.34567", 123457},  // fifth decimal rounds
      {"12.34564", 123456},
      {"-0.00005", -1},
      {".5", 5000},
      {"5.", 50000},
      {" 7 ", 70000},
      {"+3", 30000},
      {"922337203685477.5807", INT64_MAX},
      {"-922337203685477.5808", INT64_MIN},
      {"922337203685477.5808", std::nullopt},
      {"922337203685477.58075", std::nullopt},
      {"", std::nullopt},
      {".", std::nullopt},
      {"-", std::nullopt},
      {"1.2.3", std::nullopt},
      {"1e5", std::nullopt},
      {"1,5", std::nullopt},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.text);
    EXPECT_EQ(ParseCurrencyAmount(row.text), row.scaled);
  }
}

TEST(LimitEntryTest, CategoryChangedComparesFlagConditionsAndLimits) {
  Category stored;
  stored.name = u"Disk";
  stored.limits = Limits{LogValue::Integer(kVtI4, 10), kConditionGreater, LogValue::Integer(kVtI4, 20),
                         kConditionLess};
  Category same = stored;
  EXPECT_FALSE(CategoryChanged(stored, same));

  Category condition = stored;
  condition.limits.upperCondition = kConditionLessEqual;
  EXPECT_TRUE(CategoryChanged(stored, condition));

  Category value = stored;
  value.limits.lower = LogValue::Integer(kVtI4, 11);
  EXPECT_TRUE(CategoryChanged(stored, value));

  Category type = stored;
  type.limits.lower = LogValue::Integer(kVtI2, 10);
  EXPECT_TRUE(CategoryChanged(stored, type));

  Category flag = stored;
  flag.enabled = 0;
  EXPECT_TRUE(CategoryChanged(stored, flag));

  // Empty limits never count as equal.
  Category blank;
  EXPECT_TRUE(CategoryChanged(blank, blank));
}

}  // namespace
}  // namespace quarent::brnlog
