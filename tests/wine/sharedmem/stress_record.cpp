#include "stress_record.h"

#include <cstring>
#include <vector>

#include "shared_memory_client.h"

namespace test {

uint32_t Checksum(const StressRecord& record) {
  // FNV-1a over everything but the checksum itself.
  const auto* bytes = reinterpret_cast<const uint8_t*>(&record);
  uint32_t hash = 2166136261u;
  for (size_t index = 0; index < offsetof(StressRecord, checksum); ++index) {
    hash = (hash ^ bytes[index]) * 16777619u;
  }
  return hash;
}

void FillRecord(StressRecord& record, uint32_t slot, uint32_t sequence) {
  record.slot = slot;
  record.sequence = sequence;
  for (size_t index = 0; index < sizeof record.payload; ++index) {
    record.payload[index] = static_cast<uint8_t>(slot * 31 + sequence * 7 + index);
  }
  record.checksum = Checksum(record);
}

long SlotOffset(int slot) { return kRecordsOffset + slot * static_cast<long>(sizeof(StressRecord)); }

StressStats RunStressWorker(ISharedMemory* memory, int slot, int slots, DWORD milliseconds) {
  StressStats stats;
  std::vector<uint32_t> lastSeen(slots, 0);
  const DWORD start = GetTickCount();
  uint32_t random = 12345u + slot;
  StressRecord record;
  while (GetTickCount() - start < milliseconds) {
    FillRecord(record, slot, ++stats.lastSequence);
    WriteBytes(memory, &record, sizeof record, SlotOffset(slot));

    random = random * 1103515245u + 12345u;
    const int other = static_cast<int>((random >> 8) % slots);
    ReadBytes(memory, &record, sizeof record, SlotOffset(other));
    if (record.sequence != 0) {
      if (record.checksum != Checksum(record) || record.slot != static_cast<uint32_t>(other) ||
          record.sequence < lastSeen[other]) {
        ++stats.torn;
      }
      lastSeen[other] = record.sequence;
    }

    if (stats.lastSequence % 8 == 0) {
      VARIANT_BOOL result = VARIANT_FALSE;
      memory->MemLock(&result);
      uint32_t counter = 0;
      ReadBytes(memory, &counter, sizeof counter, 0);
      ++counter;
      WriteBytes(memory, &counter, sizeof counter, 0);
      memory->MemUnlock(&result);
      ++stats.increments;
    }
  }
  return stats;
}

}  // namespace test
