#pragma once
// Comparing a message value with a category limit, and the test that
// decides whether a value passes a category's lower and upper conditions.
#include <cstdint>

#include "model/log_value.h"

namespace quarent::brnlog {

// Condition of a bound (the brnLimitsConstants values); any other number tests nothing.
enum LimitCondition : int16_t {
  kConditionNone = 0,
  kConditionLess = 1,
  kConditionLessEqual = 2,
  kConditionGreater = 3,
  kConditionGreaterEqual = 4,
};

// The lower and upper bound of a category.
struct Limits {
  LogValue lower;
  int16_t lowerCondition = kConditionNone;
  LogValue upper;
  int16_t upperCondition = kConditionNone;
};

// How `value` relates to `limit`. All three are false when the type words
// differ or the type is not comparable. VT_R4 and VT_R8 are equal when exactly
// equal or within their type's epsilon; a null string is less than any other string.
struct Comparison {
  bool less = false;
  bool greater = false;
  bool equal = false;
};
Comparison Compare(const LogValue& value, const LogValue& limit);

// True when `value` satisfies `condition` against `limit`; a condition other
// than 1 to 4 is always satisfied.
bool SatisfiesCondition(const LogValue& value, int16_t condition, const LogValue& limit);

// True when `value` passes `limits`: no condition set, an empty or null value,
// both bounds satisfied, or one of them under the combinations that admit
// values outside a range (lower </<= with upper >/>=) or ignore the upper
// bound (a negative lower condition with upper >/>=).
bool PassesLimits(const Limits& limits, const LogValue& value);

}  // namespace quarent::brnlog
