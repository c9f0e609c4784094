#pragma once
// Counts the memory allocations a DLL makes: its imports of the C runtime,
// heap, local/global memory, task memory and automation string allocators are
// redirected to counting wrappers for the lifetime of the counter.
#include <windows.h>

#include <memory>
#include <vector>

#include "import_hook.h"

namespace test {

class AllocationCounter {
 public:
  // Starts counting the allocations `module` makes.
  explicit AllocationCounter(HMODULE module);
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;

  // Allocations made by the module since the counter started (or Reset).
  long Count() const;
  void Reset();
  // Number of imports redirected (0 means nothing could be counted).
  size_t Redirected() const { return hooks_.size(); }

 private:
  // Each puts its original import back when the counter goes.
  std::vector<std::unique_ptr<ImportHook>> hooks_;
};

}  // namespace test
