#pragma once
// Naming and bounds rules of a shared memory section; no platform calls.
#include <cstdint>
#include <string>
#include <string_view>

namespace quarent::sharedmem {

// Appended to a section's mapping name to name its inter-process lock.
inline constexpr std::string_view kLockSuffix = "MUTEX_MEM012_BRASEK";

// Name of the lock of the section `mappingName` (the name followed directly by
// the suffix; an empty name gives the suffix alone).
std::string LockName(std::string_view mappingName);

enum class CopyDecision {
  kRefused,  // negative offset or byte count: nothing may be copied
  kPastEnd,  // offset at or past the end: nothing to copy, no events
  kCopy,     // copy `count` bytes (possibly 0)
};

struct CopyPlan {
  CopyDecision decision;
  int32_t count;  // bytes to copy; 0 unless decision is kCopy
};

// Plans a Read or Write of `requested` bytes at `offset` in a section whose
// Size (as given to Create) is `size` and whose mapped view really holds
// `viewBytes` bytes. The end is the smaller of the two, so a copy never leaves
// the view; a copy that runs past the end is shortened to it.
CopyPlan PlanCopy(int32_t size, uint64_t viewBytes, int32_t offset, int32_t requested);

}  // namespace quarent::sharedmem
