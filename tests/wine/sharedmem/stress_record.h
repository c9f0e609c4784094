#pragma once
// Records the stress test writes into a shared section: each worker owns one
// slot and rewrites it with a growing sequence number and a checksum; workers
// read each other's slots and check that no record is torn or goes back.
// Offset 0 holds a counter that workers increment under MemLock.
#include <windows.h>

#include <cstdint>

#include "QRNShrMem_h.h"

namespace test {

struct StressRecord {
  uint32_t slot;
  uint32_t sequence;
  uint8_t payload[52];
  uint32_t checksum;
};
static_assert(sizeof(StressRecord) == 64, "records are 64 bytes");

constexpr long kRecordsOffset = 16;

struct StressStats {
  unsigned long lastSequence = 0;  // last sequence written to the worker's slot
  unsigned long increments = 0;    // increments of the shared counter
  unsigned long torn = 0;          // records read with a bad checksum or an older sequence
};

uint32_t Checksum(const StressRecord& record);
void FillRecord(StressRecord& record, uint32_t slot, uint32_t sequence);
long SlotOffset(int slot);

// Runs one worker on `slot` of a section with `slots` slots for `milliseconds`.
StressStats RunStressWorker(ISharedMemory* memory, int slot, int slots, DWORD milliseconds);

}  // namespace test
