// Second process for the shared memory tests: opens a section by name and does
// one job on it, reporting on standard output and through its exit code.
//
//   peer read <name> <size> <offset> <length>        prints the bytes read
//   peer write <name> <size> <offset> <text>         writes the text's bytes
//   peer blocked-read <name> <size> <ready> <done>   sets event <ready>, reads
//                                                    under AutoLock, sets <done>
//   peer hold-lock <name> <size> <locked>            MemLock, sets <locked>, waits
//                                                    forever (to be killed)
//   peer stress <name> <size> <first-slot> <threads> <milliseconds>
//                                                    writes and checks records
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "com_client.h"
#include "shared_memory_client.h"
#include "stress_record.h"

namespace {

using test::ComPtr;

HANDLE OpenNamedEvent(const wchar_t* name) { return OpenEventW(EVENT_MODIFY_STATE, FALSE, name); }

int Read(ISharedMemory* memory, long offset, long length) {
  std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
  long count = 0;
  if (!test::ReadBytes(memory, buffer.data(), length, offset, &count)) return 1;
  std::printf("%.*s\n", static_cast<int>(count), buffer.data());
  return 0;
}

int Write(ISharedMemory* memory, long offset, const char* text) {
  return test::WriteBytes(memory, text, static_cast<long>(std::strlen(text)), offset) ? 0 : 1;
}

int BlockedRead(ISharedMemory* memory, const wchar_t* ready, const wchar_t* done) {
  SetEvent(OpenNamedEvent(ready));
  char byte = 0;
  const bool read = test::ReadBytes(memory, &byte, 1, 0);
  SetEvent(OpenNamedEvent(done));
  return read ? 0 : 1;
}

int HoldLock(ISharedMemory* memory, const wchar_t* locked) {
  VARIANT_BOOL result = VARIANT_FALSE;
  memory->MemLock(&result);
  SetEvent(OpenNamedEvent(locked));
  Sleep(INFINITE);
  return 0;
}

int Stress(ISharedMemory* memory, long size, int firstSlot, int threads, DWORD milliseconds) {
  const int slots = static_cast<int>((size - test::kRecordsOffset) / sizeof(test::StressRecord));
  std::vector<test::StressStats> stats(threads);
  std::vector<std::thread> workers;
  for (int index = 0; index < threads; ++index) {
    workers.emplace_back([&, index] {
      test::Apartment apartment(COINIT_MULTITHREADED);
      stats[index] = test::RunStressWorker(memory, firstSlot + index, slots, milliseconds);
    });
  }
  for (std::thread& worker : workers) worker.join();
  for (int index = 0; index < threads; ++index) {
    std::printf("slot %d %lu\n", firstSlot + index, stats[index].lastSequence);
    std::printf("increments %lu\n", stats[index].increments);
    std::printf("torn %lu\n", stats[index].torn);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) return 2;
  test::Apartment apartment(COINIT_MULTITHREADED);
  ComPtr<ISharedMemory> memory = test::NewSharedMemory();
  if (!memory) return 3;
  const std::wstring job = argv[1];
  const long size = std::wcstol(argv[3], nullptr, 10);
  if (!test::CreateSection(memory.Get(), size, argv[2])) return 4;
  VARIANT_BOOL meFirst = VARIANT_FALSE;
  memory->get_MeFirst(&meFirst);
  std::printf("MeFirst %d\n", meFirst ? 1 : 0);

  if (job == L"read" && argc == 6) return Read(memory.Get(), std::wcstol(argv[4], nullptr, 10), std::wcstol(argv[5], nullptr, 10));
  if (job == L"write" && argc == 6) {
    const std::string text = test::Narrow(argv[5]);
    return Write(memory.Get(), std::wcstol(argv[4], nullptr, 10), text.c_str());
  }
  if (job == L"blocked-read" && argc == 6) return BlockedRead(memory.Get(), argv[4], argv[5]);
  if (job == L"hold-lock" && argc == 5) return HoldLock(memory.Get(), argv[4]);
  if (job == L"stress" && argc == 7) {
    return Stress(memory.Get(), size, std::wcstol(argv[4], nullptr, 10), std::wcstol(argv[5], nullptr, 10),
                  std::wcstoul(argv[6], nullptr, 10));
  }
  return 2;
}
