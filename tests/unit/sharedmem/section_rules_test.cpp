// Naming and bounds rules of the shared section.
#include "section_rules.h"

#include <gtest/gtest.h>

#include <climits>

namespace quarent::sharedmem {
namespace {

TEST(LockNameTest, SuffixFollowsTheMappingNameDirectly) {
  EXPECT_EQ("PricesMUTEX_MEM012_BRASEK", LockName("Prices"));
  EXPECT_EQ("AMUTEX_MEM012_BRASEK", LockName("A"));
  EXPECT_EQ("MUTEX_MEM012_BRASEK", LockName(""));
  // Bytes above 127 (ANSI text) pass through unchanged.
  EXPECT_EQ("\xC4rgerMUTEX_MEM012_BRASEK", LockName("\xC4rger"));
}

struct CopyCase {
  const char* note;
  int32_t size;
  uint64_t viewBytes;
  int32_t offset;
  int32_t requested;
  CopyDecision decision;
  int32_t count;
};

const CopyCase kCopyCases[] = {
    {"whole section", 10, 4096, 0, 10, CopyDecision::kCopy, 10},
    {"run past the end is shortened", 10, 4096, 4, 100, CopyDecision::kCopy, 6},
    {"last byte", 10, 4096, 9, 5, CopyDecision::kCopy, 1},
    {"offset at the end", 10, 4096, 10, 1, CopyDecision::kPastEnd, 0},
    {"offset past the end", 10, 4096, 11, 1, CopyDecision::kPastEnd, 0},
    {"zero bytes at a valid offset", 10, 4096, 3, 0, CopyDecision::kCopy, 0},
    {"zero bytes at the end", 10, 4096, 10, 0, CopyDecision::kPastEnd, 0},
    {"negative offset", 10, 4096, -1, 4, CopyDecision::kRefused, 0},
    {"most negative offset", 10, 4096, INT32_MIN, 4, CopyDecision::kRefused, 0},
    {"negative count", 10, 4096, 0, -1, CopyDecision::kRefused, 0},
    {"negative count past the end", 10, 4096, 20, -5, CopyDecision::kRefused, 0},
    // An existing section opened with a larger Size keeps its own, smaller view.
    {"Size beyond the view", 100000, 4096, 0, 100000, CopyDecision::kCopy, 4096},
    {"offset beyond the view", 100000, 4096, 5000, 10, CopyDecision::kPastEnd, 0},
    {"offset near the view end", 100000, 4096, 4090, 100, CopyDecision::kCopy, 6},
    {"largest request", 10, 4096, 0, INT32_MAX, CopyDecision::kCopy, 10},
    {"largest offset", INT32_MAX, uint64_t{1} << 40, INT32_MAX - 1, INT32_MAX, CopyDecision::kCopy, 1},
    {"empty section", 0, 0, 0, 1, CopyDecision::kPastEnd, 0},
};

TEST(PlanCopyTest, StaysInsideSectionAndView) {
  for (const CopyCase& row : kCopyCases) {
    SCOPED_TRACE(row.note);
    const CopyPlan plan = PlanCopy(row.size, row.viewBytes, row.offset, row.requested);
    EXPECT_EQ(row.decision, plan.decision);
    EXPECT_EQ(row.count, plan.count);
    if (plan.decision == CopyDecision::kCopy) {
      // Whatever the inputs, the copy ends inside both the Size and the view.
      EXPECT_LE(int64_t{row.offset} + plan.count, int64_t{row.size});
      EXPECT_LE(uint64_t(row.offset) + uint64_t(plan.count), row.viewBytes);
    }
  }
}

}  // namespace
}  // namespace quarent::sharedmem
