// One section shared by several processes: MeFirst, bytes across processes,
// the inter-process lock (recursion, blocking, abandonment) and a stress run.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "com_client.h"
#include "processes.h"
#include "shared_memory_client.h"
#include "stress_record.h"

namespace {

using test::ComPtr;

// The peer is this build's program, or the 32-bit build's where the test runs
// with a peer folder (a 64-bit test sharing sections with 32-bit processes).
std::wstring PeerCommand(const std::wstring& arguments) {
  return L"\"" + test::PeerProgram(L"sharedmem_peer.exe") + L"\" " + arguments;
}

class UniqueEvent {
 public:
  explicit UniqueEvent(const wchar_t* stem) : name_(test::UniqueSectionName(stem)) {
    handle_ = CreateEventW(nullptr, TRUE, FALSE, name_.c_str());
  }
  ~UniqueEvent() { CloseHandle(handle_); }
  const std::wstring& Name() const { return name_; }
  bool WaitFor(DWORD milliseconds) const { return WaitForSingleObject(handle_, milliseconds) == WAIT_OBJECT_0; }

 private:
  std::wstring name_;
  HANDLE handle_;
};

class SharedMemoryProcesses : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::RegisterSharedMemoryOnce());
    if (!test::PeerFolder().empty()) {
      ASSERT_EQ(0, test::RegisterPeerServer(L"QRNShrMem.dll"));
    }
    memory_ = test::NewSharedMemory();
    ASSERT_TRUE(memory_);
    name_ = test::UniqueSectionName(L"Processes");
  }

  test::Apartment apartment_;
  ComPtr<ISharedMemory> memory_;
  std::wstring name_;
};

TEST_F(SharedMemoryProcesses, BytesWrittenByOneProcessAreReadByTheOther) {
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 256, name_.c_str()));
  VARIANT_BOOL meFirst = VARIANT_FALSE;
  memory_->get_MeFirst(&meFirst);
  EXPECT_EQ(VARIANT_TRUE, meFirst);

  EXPECT_EQ(0, test::RunProcess(PeerCommand(L"write " + name_ + L" 256 100 written-by-the-peer")));
  char text[19] = {};
  ASSERT_TRUE(test::ReadBytes(memory_.Get(), text, 19, 100));
  EXPECT_EQ("written-by-the-peer", std::string(text, 19));

  const char mine[] = "from-the-test";
  ASSERT_TRUE(test::WriteBytes(memory_.Get(), mine, 13, 10));
  const std::string output = test::CaptureOutput(PeerCommand(L"read " + name_ + L" 256 10 13"));
  EXPECT_EQ("MeFirst 0\r\nfrom-the-test\r\n", output);
}

TEST_F(SharedMemoryProcesses, MemLockHeldTwiceBlocksTheOtherProcessUntilReleasedTwice) {
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 64, name_.c_str()));
  VARIANT_BOOL result = VARIANT_FALSE;
  ASSERT_EQ(S_OK, memory_->MemLock(&result));
  ASSERT_EQ(S_OK, memory_->MemLock(&result));

  UniqueEvent ready(L"Ready");
  UniqueEvent done(L"Done");
  HANDLE peer = test::StartProcess(PeerCommand(L"blocked-read " + name_ + L" 64 " + ready.Name() + L" " + done.Name()));
  ASSERT_NE(nullptr, peer);
  ASSERT_TRUE(ready.WaitFor(30000));
  EXPECT_FALSE(done.WaitFor(700)) << "the read waits while the lock is held twice";
  memory_->MemUnlock(&result);
  EXPECT_FALSE(done.WaitFor(700)) << "one MemUnlock does not free a lock taken twice";
  memory_->MemUnlock(&result);
  EXPECT_TRUE(done.WaitFor(30000)) << "the second MemUnlock lets the read through";
  WaitForSingleObject(peer, 30000);
  DWORD exitCode = 99;
  GetExitCodeProcess(peer, &exitCode);
  EXPECT_EQ(0u, exitCode);
  CloseHandle(peer);
}

TEST_F(SharedMemoryProcesses, LockOfAKilledProcessDoesNotBlockTheOthers) {
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 64, name_.c_str()));
  UniqueEvent locked(L"Locked");
  HANDLE peer = test::StartProcess(PeerCommand(L"hold-lock " + name_ + L" 64 " + locked.Name()));
  ASSERT_NE(nullptr, peer);
  ASSERT_TRUE(locked.WaitFor(30000));
  TerminateProcess(peer, 9);
  WaitForSingleObject(peer, 30000);
  CloseHandle(peer);

  // The next wait is satisfied by the abandoned lock.
  std::future<bool> read = std::async(std::launch::async, [&] {
    test::Apartment apartment(COINIT_MULTITHREADED);
    char byte = 0;
    return test::ReadBytes(memory_.Get(), &byte, 1, 0);
  });
  ASSERT_EQ(std::future_status::ready, read.wait_for(std::chrono::seconds(30))) << "the read is not blocked";
  EXPECT_TRUE(read.get());

  // And the lock works normally afterwards, for this process and others.
  VARIANT_BOOL result = VARIANT_FALSE;
  memory_->MemLock(&result);
  memory_->MemUnlock(&result);
  EXPECT_EQ(0, test::RunProcess(PeerCommand(L"write " + name_ + L" 64 0 after"), 30000));
}

TEST_F(SharedMemoryProcesses, StressOfSeveralProcessesAndThreadsLosesAndTearsNothing) {
  constexpr int kProcesses = 3;
  constexpr int kThreadsEach = 2;
  constexpr long kSize = test::kRecordsOffset + 8 * sizeof(test::StressRecord);
  ASSERT_TRUE(test::CreateSection(memory_.Get(), kSize, name_.c_str()));

  std::vector<std::wstring> commands;
  for (int process = 0; process < kProcesses; ++process) {
    commands.push_back(PeerCommand(L"stress " + name_ + L" " + std::to_wstring(kSize) + L" " +
                                   std::to_wstring(process * kThreadsEach) + L" " + std::to_wstring(kThreadsEach) +
                                   L" 6000"));
  }
  std::vector<std::string> outputs(kProcesses);
  std::vector<std::thread> runners;
  for (int process = 0; process < kProcesses; ++process) {
    runners.emplace_back([&, process] { outputs[process] = test::CaptureOutput(commands[process], 120000); });
  }
  for (std::thread& runner : runners) runner.join();

  unsigned long increments = 0;
  unsigned long torn = 0;
  std::map<int, unsigned long> lastSequence;
  for (const std::string& output : outputs) {
    std::istringstream lines(output);
    std::string word;
    while (lines >> word) {
      if (word == "slot") {
        int slot = 0;
        unsigned long sequence = 0;
        lines >> slot >> sequence;
        lastSequence[slot] = sequence;
      } else if (word == "increments") {
        unsigned long count = 0;
        lines >> count;
        increments += count;
      } else if (word == "torn") {
        unsigned long count = 0;
        lines >> count;
        torn += count;
      }
    }
  }
  ASSERT_EQ(static_cast<size_t>(kProcesses * kThreadsEach), lastSequence.size()) << outputs[0];
  EXPECT_EQ(0ul, torn);

  // Every worker's last record is in its slot, intact.
  for (const auto& [slot, sequence] : lastSequence) {
    SCOPED_TRACE(slot);
    EXPECT_GT(sequence, 0ul);
    test::StressRecord record = {};
    ASSERT_TRUE(test::ReadBytes(memory_.Get(), &record, sizeof record, test::SlotOffset(slot)));
    EXPECT_EQ(sequence, record.sequence);
    EXPECT_EQ(test::Checksum(record), record.checksum);
  }
  // No increment made under MemLock was lost.
  uint32_t counter = 0;
  ASSERT_TRUE(test::ReadBytes(memory_.Get(), &counter, sizeof counter, 0));
  EXPECT_EQ(increments, counter);
  EXPECT_GT(increments, 0ul);
}

}  // namespace
