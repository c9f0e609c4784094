#include "section_rules.h"

#include <algorithm>

namespace quarent::sharedmem {

std::string LockName(std::string_view mappingName) {
  std::string name(mappingName);
  name += kLockSuffix;
  return name;
}

CopyPlan PlanCopy(int32_t size, uint64_t viewBytes, int32_t offset, int32_t requested) {
  if (offset < 0 || requested < 0) return {CopyDecision::kRefused, 0};
  const int64_t mapped = static_cast<int64_t>(std::min<uint64_t>(viewBytes, INT32_MAX));
  const int64_t end = std::min<int64_t>(size, mapped);
  if (offset >= end) return {CopyDecision::kPastEnd, 0};
  const int64_t available = end - offset;
  return {CopyDecision::kCopy, static_cast<int32_t>(std::min<int64_t>(requested, available))};
}

}  // namespace quarent::sharedmem
