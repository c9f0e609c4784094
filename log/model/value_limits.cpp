#include "model/value_limits.h"

#include <algorithm>
#include <cfloat>

namespace quarent::brnlog {
namespace {

template <class Number>
Comparison CompareOrdered(Number value, Number limit) {
  return {value < limit, value > limit, value == limit};
}

// Floating values: less is "not greater or equal", greater is "neither less
// nor exactly equal", equal is exactly equal or within `epsilon` of the limit.
// The fixed epsilon only widens equality near zero: from 2 upwards it is at
// most half the spacing of the type's values, so limit - epsilon and
// limit + epsilon round to the limit itself and the window holds nothing.
template <class Real>
Comparison CompareReal(Real value, Real limit, Real epsilon) {
  Comparison result;
  result.less = !(value >= limit);
  result.greater = !(result.less || value == limit);
  result.equal = value == limit || (limit - epsilon < value && value < limit + epsilon);
  return result;
}

Comparison CompareStrings(const LogValue& value, const LogValue& limit) {
  if (!value.text || !limit.text) {
    const bool bothNull = !value.text && !limit.text;
    return {!value.text && !bothNull, !limit.text && !bothNull, bothNull};
  }
  // char16_t compares as an unsigned 16-bit number.
  const int order = value.text->compare(*limit.text);
  return {order < 0, order > 0, order == 0};
}

}  // namespace

Comparison Compare(const LogValue& value, const LogValue& limit) {
  if (value.type != limit.type) return {};
  switch (value.type) {
    case kVtI2:
    case kVtBool:
      return CompareOrdered(static_cast<int16_t>(value.bits), static_cast<int16_t>(limit.bits));
    case kVtUI2:
      return CompareOrdered(static_cast<uint16_t>(value.bits), static_cast<uint16_t>(limit.bits));
    case kVtI4:
    case kVtInt:
      return CompareOrdered(static_cast<int32_t>(value.bits), static_cast<int32_t>(limit.bits));
    case kVtUI4:
    case kVtUInt:
      return CompareOrdered(static_cast<uint32_t>(value.bits), static_cast<uint32_t>(limit.bits));
    case kVtI1:
      return CompareOrdered(static_cast<int8_t>(value.bits), static_cast<int8_t>(limit.bits));
    case kVtUI1:
      return CompareOrdered(static_cast<uint8_t>(value.bits), static_cast<uint8_t>(limit.bits));
    case kVtCy:
      return CompareOrdered(static_cast<int64_t>(value.bits), static_cast<int64_t>(limit.bits));
    case kVtR4:
      return CompareReal(static_cast<float>(value.real), static_cast<float>(limit.real), FLT_EPSILON);
    case kVtR8:
      return CompareReal(value.real, limit.real, DBL_EPSILON);
    case kVtDate:
      return CompareReal(value.real, limit.real, 0.0);
    case kVtBstr:
      return CompareStrings(value, limit);
    default:
      return {};
  }
}

bool SatisfiesCondition(const LogValue& value, int16_t condition, const LogValue& limit) {
  switch (condition) {
    case kConditionLess:
      return Compare(value, limit).less;
    case kConditionLessEqual: {
      const Comparison comparison = Compare(value, limit);
      return comparison.less || comparison.equal;
    }
    case kConditionGreater:
      return Compare(value, limit).greater;
    case kConditionGreaterEqual: {
      const Comparison comparison = Compare(value, limit);
      return comparison.greater || comparison.equal;
    }
    default:
      return true;
  }
}

bool PassesLimits(const Limits& limits, const LogValue& value) {
  const int16_t lower = limits.lowerCondition;
  const int16_t upper = limits.upperCondition;
  if (lower <= 0 && upper <= 0) return true;
  if (value.type == kVtEmpty || value.type == kVtNull) return true;
  const bool lowerResult = SatisfiesCondition(value, lower, limits.lower);
  const bool upperResult = SatisfiesCondition(value, upper, limits.upper);
  if (lowerResult && upperResult) return true;
  // One bound failed: lower </<= with upper >/>= admits values outside the range.
  if ((lower == kConditionLess || lower == kConditionLessEqual) && upper >= kConditionGreater) {
    return lowerResult || upperResult;
  }
  // A negative lower condition disregards a failed upper >/>=.
  if (lower < 0 && (upper == kConditionGreater || upper == kConditionGreaterEqual)) return true;
  return false;
}

}  // namespace quarent::brnlog
