#include "model/limit_entry.h"

#include <cstdlib>
#include <limits>

namespace quarent::brnlog {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view TrimSpaces(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// True for optional spaces, an optional sign and digits only.
bool IsWholeNumber(std::string_view text) {
  text = TrimSpaces(text);
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  if (text.empty()) return false;
  for (char c : text) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

bool Keeps(TypeFamily family, uint16_t type) { return FamilyOfType(type) == family; }

}  // namespace

std::optional<TypeFamily> FamilyOfType(uint16_t type) {
  switch (type) {
    case kVtI2:
    case kVtBool:
    case kVtI1:
    case kVtUI1:
    case kVtUI2:
      return TypeFamily::kInteger;
    case kVtBstr:
      return TypeFamily::kString;
    case kVtR4:
    case kVtR8:
      return TypeFamily::kDecimal;
    case kVtI4:
    case kVtCy:
    case kVtDate:
    case kVtUI4:
    case kVtInt:
    case kVtUInt:
      return TypeFamily::kLong;
    default:
      return std::nullopt;
  }
}

uint16_t TypeForReading(TypeFamily family, uint16_t currentType) {
  if (Keeps(family, currentType)) return currentType;
  switch (family) {
    case TypeFamily::kInteger:
      return kVtI2;
    case TypeFamily::kString:
      return kVtBstr;
    case TypeFamily::kDecimal:
      return kVtR4;
    case TypeFamily::kLong:
      return kVtI4;
  }
  return kVtEmpty;
}

std::optional<int64_t> ParseCurrencyAmount(std::string_view text) {
  text = TrimSpaces(text);
  bool negative = false;
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  const std::string_view whole = text.substr(0, text.find('.'));
  std::string_view fraction = whole.size() < text.size() ? text.substr(whole.size() + 1) : std::string_view();
  if (whole.empty() && fraction.empty()) return std::nullopt;
  for (char c : whole) {
    if (!IsDigit(c)) return std::nullopt;
  }
  for (char c : fraction) {
    if (!IsDigit(c)) return std::nullopt;
  }

  // The magnitude may reach 2^63 for the most negative amount.
  const uint64_t limit = negative ? uint64_t{1} << 63 : static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  uint64_t magnitude = 0;
  auto append = [&](int digit) {
    if (magnitude > (limit - static_cast<uint64_t>(digit)) / 10) return false;
    magnitude = magnitude * 10 + static_cast<uint64_t>(digit);
    return true;
  };
  for (char c : whole) {
    if (!append(c - '0')) return std::nullopt;
  }
  for (size_t place = 0; place < 4; ++place) {
    if (!append(place < fraction.size() ? fraction[place] - '0' : 0)) return std::nullopt;
  }
  if (fraction.size() > 4 && fraction[4] >= '5') {
    if (magnitude == limit) return std::nullopt;
    ++magnitude;
  }
  if (negative) return static_cast<int64_t>(0 - magnitude);
  return static_cast<int64_t>(magnitude);
}

LogValue ReadLimit(TypeFamily family, uint16_t currentType, const EditBoxText& box, const PlatformText& platform) {
  const uint16_t type = TypeForReading(family, currentType);
  const auto integerBits = static_cast<uint64_t>(static_cast<uint32_t>(box.integer));
  switch (family) {
    case TypeFamily::kInteger:
      return LogValue::Integer(type, integerBits);
    case TypeFamily::kString:
      return LogValue::String(platform.FromAnsi(box.ansi));
    case TypeFamily::kDecimal:
      return LogValue::Real(type, std::strtod(box.ansi.c_str(), nullptr));
    case TypeFamily::kLong:
      if (type == kVtCy) return LogValue::Currency(ParseCurrencyAmount(box.ansi).value_or(0));
      if (type == kVtDate) {
        if (IsWholeNumber(box.ansi)) return LogValue::Real(kVtDate, box.integer);
        return LogValue::Real(kVtDate, platform.ParseDate(box.ansi).value_or(0.0));
      }
      return LogValue::Integer(type, integerBits);
  }
  return LogValue::Empty();
}

bool CategoryChanged(const Category& stored, const Category& edited) {
  const Limits& before = stored.limits;
  const Limits& after = edited.limits;
  return stored.enabled != edited.enabled || before.lowerCondition != after.lowerCondition ||
         before.upperCondition != after.upperCondition || !Compare(before.lower, after.lower).equal ||
         !Compare(before.upper, after.upper).equal;
}

}  // namespace quarent::brnlog
