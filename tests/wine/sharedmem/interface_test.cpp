// QRNSharedMemory through its vtable: defaults, Create/Delete, Read/Write
// bounds, locking, names, and the module's class object.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "aggregating_outer.h"
#include "allocation_counter.h"
#include "com_client.h"
#include "dialog_watcher.h"
#include "event_recorder.h"
#include "shared_memory_client.h"

namespace {

using test::ComPtr;

class SharedMemoryInterface : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::RegisterSharedMemoryOnce());
    memory_ = test::NewSharedMemory();
    ASSERT_TRUE(memory_);
  }

  test::Apartment apartment_;
  ComPtr<ISharedMemory> memory_;
};

TEST_F(SharedMemoryInterface, NewInstanceHasTheDefaults) {
  VARIANT_BOOL flag = 1;
  ASSERT_EQ(S_OK, memory_->get_AutoLock(&flag));
  EXPECT_EQ(VARIANT_TRUE, flag);
  ASSERT_EQ(S_OK, memory_->get_FireEvents(&flag));
  EXPECT_EQ(VARIANT_FALSE, flag);
  ASSERT_EQ(S_OK, memory_->get_MeFirst(&flag));
  EXPECT_EQ(VARIANT_FALSE, flag);
  ASSERT_EQ(S_OK, memory_->get_IsCreated(&flag));
  EXPECT_EQ(VARIANT_FALSE, flag);
  EXPECT_EQ(0, test::SizeOf(memory_.Get()));
  EXPECT_EQ(L"", test::NameOf(memory_.Get()));
}

TEST_F(SharedMemoryInterface, MissingResultLocationsGiveEPointer) {
  unsigned char buffer[4] = {};
  long count = 0;
  EXPECT_EQ(E_POINTER, memory_->get_Ptr(nullptr));
  EXPECT_EQ(E_POINTER, memory_->get_AutoLock(nullptr));
  EXPECT_EQ(E_POINTER, memory_->get_FireEvents(nullptr));
  EXPECT_EQ(E_POINTER, memory_->get_Size(nullptr));
  EXPECT_EQ(E_POINTER, memory_->get_MeFirst(nullptr));
  EXPECT_EQ(E_POINTER, memory_->get_Name(nullptr));
  EXPECT_EQ(E_POINTER, memory_->get_IsCreated(nullptr));
  EXPECT_EQ(E_POINTER, memory_->Create(16, nullptr, nullptr));
  EXPECT_EQ(E_POINTER, memory_->Delete(nullptr));
  EXPECT_EQ(E_POINTER, memory_->Read(buffer, 4, &count, 0, nullptr));
  EXPECT_EQ(E_POINTER, memory_->Write(buffer, 4, &count, 0, nullptr));
  EXPECT_EQ(E_POINTER, memory_->MemLock(nullptr));
  EXPECT_EQ(E_POINTER, memory_->MemUnlock(nullptr));
  EXPECT_EQ(E_POINTER, memory_->GenerateSafeName(nullptr));
  EXPECT_EQ(E_POINTER, memory_->ReadVB(reinterpret_cast<LONG_PTR>(buffer), 4, &count, 0, nullptr));

  // A missing buffer gives E_POINTER and writes nothing else.
  VARIANT_BOOL result = 7;
  count = 99;
  EXPECT_EQ(E_POINTER, memory_->Read(nullptr, 4, &count, 0, &result));
  EXPECT_EQ(E_POINTER, memory_->Write(nullptr, 4, &count, 0, &result));
  EXPECT_EQ(E_POINTER, memory_->ReadVB(0, 4, &count, 0, &result));
  EXPECT_EQ(E_POINTER, memory_->WriteVB(0, 4, &count, 0, &result));
  EXPECT_EQ(7, result);
  EXPECT_EQ(99, count);

  // Ptr never gives out an address.
  unsigned char untouched = 0xAB;
  EXPECT_EQ(S_OK, memory_->get_Ptr(&untouched));
  EXPECT_EQ(0xAB, untouched);
}

TEST_F(SharedMemoryInterface, OperationsWithoutASectionAnswerFalse) {
  unsigned char buffer[4] = {1, 2, 3, 4};
  long count = 99;
  HRESULT status = E_FAIL;
  EXPECT_FALSE(test::ReadBytes(memory_.Get(), buffer, 4, 0, &count, &status));
  EXPECT_EQ(S_OK, status);
  EXPECT_EQ(0, count);
  EXPECT_FALSE(test::WriteBytes(memory_.Get(), buffer, 4, 0, &count, &status));
  EXPECT_EQ(S_OK, status);
  EXPECT_EQ(0, count);
  VARIANT_BOOL result = VARIANT_TRUE;
  EXPECT_EQ(S_OK, memory_->MemLock(&result));
  EXPECT_EQ(VARIANT_FALSE, result);
  result = VARIANT_TRUE;
  EXPECT_EQ(S_OK, memory_->MemUnlock(&result));
  EXPECT_EQ(VARIANT_FALSE, result);
  result = VARIANT_TRUE;
  EXPECT_EQ(S_OK, memory_->Delete(&result));
  EXPECT_EQ(VARIANT_FALSE, result);
}

TEST_F(SharedMemoryInterface, CreateAndDeleteKeepTheStateConsistent) {
  const std::wstring name = test::UniqueSectionName(L"State");
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 10, name.c_str()));
  VARIANT_BOOL flag = VARIANT_FALSE;
  memory_->get_MeFirst(&flag);
  EXPECT_EQ(VARIANT_TRUE, flag);
  memory_->get_IsCreated(&flag);
  EXPECT_EQ(VARIANT_TRUE, flag);
  EXPECT_EQ(10, test::SizeOf(memory_.Get()));
  EXPECT_EQ(name, test::NameOf(memory_.Get()));

  // A section made anew reads as zero bytes.
  unsigned char bytes[10];
  std::memset(bytes, 0xFF, sizeof bytes);
  long count = 0;
  ASSERT_TRUE(test::ReadBytes(memory_.Get(), bytes, 10, 0, &count));
  EXPECT_EQ(10, count);
  for (unsigned char byte : bytes) EXPECT_EQ(0, byte);

  EXPECT_TRUE(test::DeleteSection(memory_.Get()));
  memory_->get_IsCreated(&flag);
  EXPECT_EQ(VARIANT_FALSE, flag);
  memory_->get_MeFirst(&flag);
  EXPECT_EQ(VARIANT_FALSE, flag);
  EXPECT_EQ(0, test::SizeOf(memory_.Get()));
  EXPECT_EQ(L"", test::NameOf(memory_.Get()));
  EXPECT_FALSE(test::DeleteSection(memory_.Get()));
}

TEST_F(SharedMemoryInterface, ReadAndWriteAreShortenedAtTheEnd) {
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 10, test::UniqueSectionName(L"Bounds").c_str()));
  const unsigned char pattern[10] = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
  long count = 0;
  ASSERT_TRUE(test::WriteBytes(memory_.Get(), pattern, 10, 0, &count));
  EXPECT_EQ(10, count);

  unsigned char buffer[100];
  std::memset(buffer, 0xEE, sizeof buffer);
  ASSERT_TRUE(test::ReadBytes(memory_.Get(), buffer, 100, 4, &count));
  EXPECT_EQ(6, count);
  EXPECT_EQ(0, std::memcmp(buffer, pattern + 4, 6));
  EXPECT_EQ(0xEE, buffer[6]) << "nothing is copied past the shortened count";

  HRESULT status = E_FAIL;
  EXPECT_FALSE(test::ReadBytes(memory_.Get(), buffer, 1, 10, &count, &status));
  EXPECT_EQ(S_OK, status);
  EXPECT_EQ(0, count);
  EXPECT_FALSE(test::WriteBytes(memory_.Get(), buffer, 1, 11, &count, &status));
  EXPECT_EQ(S_OK, status);

  EXPECT_TRUE(test::ReadBytes(memory_.Get(), buffer, 0, 3, &count));
  EXPECT_EQ(0, count);

  // A write running past the end is shortened too and leaves the rest alone.
  const unsigned char tail[5] = {1, 2, 3, 4, 5};
  ASSERT_TRUE(test::WriteBytes(memory_.Get(), tail, 5, 8, &count));
  EXPECT_EQ(2, count);
  ASSERT_TRUE(test::ReadBytes(memory_.Get(), buffer, 10, 0, &count));
  const unsigned char expected[10] = {10, 11, 12, 13, 14, 15, 16, 17, 1, 2};
  EXPECT_EQ(0, std::memcmp(buffer, expected, 10));

  // The byte count is optional.
  VARIANT_BOOL result = VARIANT_FALSE;
  EXPECT_EQ(S_OK, memory_->Read(buffer, 2, nullptr, 0, &result));
  EXPECT_EQ(VARIANT_TRUE, result);
}

TEST_F(SharedMemoryInterface, NegativeOffsetsAndCountsAreRefusedWithoutCopying) {
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 16, test::UniqueSectionName(L"Negative").c_str()));
  unsigned char buffer[16];
  std::memset(buffer, 0x5A, sizeof buffer);
  const struct {
    long bytes;
    long offset;
  } rows[] = {{4, -1}, {-1, 0}, {-100, 4}, {4, LONG_MIN}, {LONG_MIN, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "bytes " << row.bytes << " offset " << row.offset);
    long count = 99;
    HRESULT status = S_OK;
    EXPECT_FALSE(test::ReadBytes(memory_.Get(), buffer, row.bytes, row.offset, &count, &status));
    EXPECT_EQ(E_INVALIDARG, status);
    EXPECT_EQ(0, count);
    EXPECT_FALSE(test::WriteBytes(memory_.Get(), buffer, row.bytes, row.offset, &count, &status));
    EXPECT_EQ(E_INVALIDARG, status);
  }
  for (unsigned char byte : buffer) EXPECT_EQ(0x5A, byte);
  long count = 0;
  ASSERT_TRUE(test::ReadBytes(memory_.Get(), buffer, 16, 0, &count));
  for (unsigned char byte : buffer) EXPECT_EQ(0, byte) << "the section was not written";
}

TEST_F(SharedMemoryInterface, SizeZeroAndNegativeSizeAreRefused) {
  HRESULT status = S_OK;
  EXPECT_FALSE(test::CreateSection(memory_.Get(), 0, test::UniqueSectionName(L"Zero").c_str(), &status));
  EXPECT_EQ(0x80070000u, static_cast<unsigned>(status) & 0xFFFF0000u) << test::Hex(status);
  EXPECT_NE(S_OK, status);
  VARIANT_BOOL flag = VARIANT_TRUE;
  memory_->get_IsCreated(&flag);
  EXPECT_EQ(VARIANT_FALSE, flag);

  EXPECT_FALSE(test::CreateSection(memory_.Get(), -1, test::UniqueSectionName(L"Negative").c_str(), &status));
  EXPECT_EQ(E_INVALIDARG, status);
  memory_->get_IsCreated(&flag);
  EXPECT_EQ(VARIANT_FALSE, flag);
  EXPECT_EQ(0, test::SizeOf(memory_.Get()));
}

TEST_F(SharedMemoryInterface, FailedCreateLeavesTheInstanceEmpty) {
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 32, test::UniqueSectionName(L"Before").c_str()));
  HRESULT status = S_OK;
  EXPECT_FALSE(test::CreateSection(memory_.Get(), 0, test::UniqueSectionName(L"After").c_str(), &status));
  VARIANT_BOOL flag = VARIANT_TRUE;
  memory_->get_IsCreated(&flag);
  EXPECT_EQ(VARIANT_FALSE, flag);
  EXPECT_EQ(L"", test::NameOf(memory_.Get()));
  EXPECT_EQ(0, test::SizeOf(memory_.Get()));
}

TEST_F(SharedMemoryInterface, TwoInstancesShareOneSectionByName) {
  const std::wstring name = test::UniqueSectionName(L"Shared");
  ComPtr<ISharedMemory> second = test::NewSharedMemory();
  ASSERT_TRUE(second);
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 64, name.c_str()));
  ASSERT_TRUE(test::CreateSection(second.Get(), 64, name.c_str()));
  VARIANT_BOOL first = VARIANT_FALSE;
  VARIANT_BOOL other = VARIANT_TRUE;
  memory_->get_MeFirst(&first);
  second->get_MeFirst(&other);
  EXPECT_EQ(VARIANT_TRUE, first);
  EXPECT_EQ(VARIANT_FALSE, other);

  const char text[] = "written by the first instance";
  ASSERT_TRUE(test::WriteBytes(memory_.Get(), text, sizeof text, 20));
  char back[sizeof text] = {};
  long count = 0;
  ASSERT_TRUE(test::ReadBytes(second.Get(), back, sizeof back, 20, &count));
  EXPECT_EQ(static_cast<long>(sizeof text), count);
  EXPECT_STREQ(text, back);

  // Deleting one instance's handle keeps the section for the other.
  EXPECT_TRUE(test::DeleteSection(memory_.Get()));
  std::memset(back, 0, sizeof back);
  ASSERT_TRUE(test::ReadBytes(second.Get(), back, sizeof back, 20, &count));
  EXPECT_STREQ(text, back);
}

TEST_F(SharedMemoryInterface, OpeningWithALargerSizeStaysInsideTheRealView) {
  const std::wstring name = test::UniqueSectionName(L"Larger");
  ComPtr<ISharedMemory> opener = test::NewSharedMemory();
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 100, name.c_str()));
  // The section keeps its own size (one page here); the opener asks for 1 MiB.
  ASSERT_TRUE(test::CreateSection(opener.Get(), 1 << 20, name.c_str()));
  EXPECT_EQ(1 << 20, test::SizeOf(opener.Get()));

  std::vector<unsigned char> buffer(1 << 20, 0x77);
  long count = 0;
  ASSERT_TRUE(test::ReadBytes(opener.Get(), buffer.data(), 1 << 20, 0, &count));
  EXPECT_GE(count, 100);
  EXPECT_LT(count, 1 << 20) << "the copy was bounded by the mapped view";
  HRESULT status = E_FAIL;
  EXPECT_FALSE(test::WriteBytes(opener.Get(), buffer.data(), 16, 512 * 1024, &count, &status));
  EXPECT_EQ(S_OK, status);
  EXPECT_EQ(0, count);
}

TEST_F(SharedMemoryInterface, CreateAgainReplacesTheSection) {
  const std::wstring first = test::UniqueSectionName(L"First");
  const std::wstring second = test::UniqueSectionName(L"Second");
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 16, first.c_str()));
  const char text[] = "abc";
  ASSERT_TRUE(test::WriteBytes(memory_.Get(), text, 3, 0));
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 32, second.c_str()));
  EXPECT_EQ(second, test::NameOf(memory_.Get()));
  EXPECT_EQ(32, test::SizeOf(memory_.Get()));
  char back[3] = {1, 1, 1};
  ASSERT_TRUE(test::ReadBytes(memory_.Get(), back, 3, 0));
  EXPECT_EQ(0, back[0]) << "the new section is a different, zero-filled one";
}

TEST_F(SharedMemoryInterface, MemLockIsRecursiveAndMemUnlockAlwaysAnswersTrue) {
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 8, test::UniqueSectionName(L"Lock").c_str()));
  VARIANT_BOOL result = VARIANT_FALSE;
  EXPECT_EQ(S_OK, memory_->MemUnlock(&result));
  EXPECT_EQ(VARIANT_TRUE, result) << "true also without a preceding MemLock";
  EXPECT_EQ(S_OK, memory_->MemLock(&result));
  EXPECT_EQ(VARIANT_TRUE, result);
  EXPECT_EQ(S_OK, memory_->MemLock(&result));
  EXPECT_EQ(VARIANT_TRUE, result);
  // The owner's own AutoLock reads go through while it holds the lock.
  unsigned char byte = 0;
  EXPECT_TRUE(test::ReadBytes(memory_.Get(), &byte, 1, 0));
  memory_->MemUnlock(&result);
  memory_->MemUnlock(&result);
  EXPECT_EQ(VARIANT_TRUE, result);
}

TEST_F(SharedMemoryInterface, GenerateSafeNameGivesDistinctBracedGuids) {
  BSTR first = nullptr;
  BSTR second = nullptr;
  ASSERT_EQ(S_OK, memory_->GenerateSafeName(&first));
  ASSERT_EQ(S_OK, memory_->GenerateSafeName(&second));
  for (BSTR name : {first, second}) {
    ASSERT_EQ(38u, SysStringLen(name));
    EXPECT_EQ(L'{', name[0]);
    EXPECT_EQ(L'}', name[37]);
    for (UINT index = 1; index < 37; ++index) {
      const wchar_t character = name[index];
      const bool hyphen = index == 9 || index == 14 || index == 19 || index == 24;
      if (hyphen) {
        EXPECT_EQ(L'-', character);
      } else {
        EXPECT_TRUE((character >= L'0' && character <= L'9') || (character >= L'A' && character <= L'F'))
            << "upper-case hexadecimal digit at " << index;
      }
    }
  }
  EXPECT_NE(0, wcscmp(first, second));
  // The name suits Create.
  EXPECT_TRUE(test::CreateSection(memory_.Get(), 16, first));
  SysFreeString(first);
  SysFreeString(second);
}

TEST_F(SharedMemoryInterface, ReadVBAndWriteVBTakeTheBufferAddressAsANumber) {
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 16, test::UniqueSectionName(L"VB").c_str()));
  char out[6] = "hello";
  long count = 0;
  VARIANT_BOOL result = VARIANT_FALSE;
  ASSERT_EQ(S_OK, memory_->WriteVB(reinterpret_cast<LONG_PTR>(out), 6, &count, 2, &result));
  EXPECT_EQ(VARIANT_TRUE, result);
  EXPECT_EQ(6, count);
  char in[16] = {};
  ASSERT_EQ(S_OK, memory_->ReadVB(reinterpret_cast<LONG_PTR>(in), 100, &count, 2, &result));
  EXPECT_EQ(14, count);
  EXPECT_STREQ("hello", in);
}

// Pages of this process for the address checks: a run of a writable page, a
// read-only page and a page only reserved; a guard page and a no-access page.
class TestPages {
 public:
  TestPages() {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    size = system.dwPageSize;
    run = static_cast<unsigned char*>(VirtualAlloc(nullptr, 3 * size, MEM_RESERVE, PAGE_NOACCESS));
    VirtualAlloc(run, size, MEM_COMMIT, PAGE_READWRITE);
    VirtualAlloc(run + size, size, MEM_COMMIT, PAGE_READONLY);
    guard = static_cast<unsigned char*>(VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE | PAGE_GUARD));
    noAccess = static_cast<unsigned char*>(VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS));
  }
  ~TestPages() {
    for (unsigned char* pages : {run, guard, noAccess}) VirtualFree(pages, 0, MEM_RELEASE);
  }
  TestPages(const TestPages&) = delete;
  TestPages& operator=(const TestPages&) = delete;

  unsigned char* Writable() const { return run; }
  unsigned char* ReadOnly() const { return run + size; }
  unsigned char* Reserved() const { return run + 2 * size; }

  size_t size = 0;
  unsigned char* run = nullptr;
  unsigned char* guard = nullptr;
  unsigned char* noAccess = nullptr;
};

LONG_PTR Address(const void* place) { return reinterpret_cast<LONG_PTR>(place); }

TEST_F(SharedMemoryInterface, ReadVBAndWriteVBRefuseAddressesThatAreNotTheCallersMemory) {
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 8192, test::UniqueSectionName(L"Addresses").c_str()));
  ASSERT_EQ(S_OK, memory_->put_FireEvents(VARIANT_TRUE));
  auto* sink = new test::EventRecorder(DIID__ISharedMemoryEvents);
  test::Connection connection(memory_.Get(), DIID__ISharedMemoryEvents, sink);
  ASSERT_EQ(S_OK, connection.Status());
  TestPages pages;
  ASSERT_TRUE(pages.run && pages.guard && pages.noAccess);
  const long page = static_cast<long>(pages.size);
  struct Case {
    const char* note;
    LONG_PTR address;
    long bytes;
    bool readVB;   // ReadVB may fill it (writable memory)
    bool writeVB;  // WriteVB may copy from it (readable memory)
  };
  const Case cases[] = {
      {"address -1", -1, 4096, false, false},
      {"address 7", 7, 4096, false, false},
      {"address 0xFF", 0xFF, 4096, false, false},
      {"address 0x7FFFFFFF", 0x7FFFFFFF, 4096, false, false},
      {"a range past the top of the address space", -16, 4096, false, false},
      {"a writable page", Address(pages.Writable()), page, true, true},
      {"a read-only page", Address(pages.ReadOnly()), page, false, true},
      {"a page reserved but not committed", Address(pages.Reserved()), 16, false, false},
      {"a guard page", Address(pages.guard), 16, false, false},
      {"a no-access page", Address(pages.noAccess), 16, false, false},
      {"from a writable into a read-only page", Address(pages.ReadOnly() - 8), 16, false, true},
      {"from a read-only into a reserved page", Address(pages.Reserved() - 8), 16, false, false},
      {"the last bytes of the read-only page", Address(pages.Reserved() - 8), 8, false, true},
  };
  const std::vector<unsigned char> pattern(8192, 0xA5);
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    for (const bool reading : {true, false}) {
      SCOPED_TRACE(reading ? "ReadVB" : "WriteVB");
      memory_->put_FireEvents(VARIANT_FALSE);
      ASSERT_TRUE(test::WriteBytes(memory_.Get(), pattern.data(), 8192, 0));
      memory_->put_FireEvents(VARIANT_TRUE);
      sink->Clear();
      long count = 99;
      VARIANT_BOOL result = 7;
      const HRESULT status = reading ? memory_->ReadVB(row.address, row.bytes, &count, 0, &result)
                                     : memory_->WriteVB(row.address, row.bytes, &count, 0, &result);
      if (reading ? row.readVB : row.writeVB) {
        EXPECT_EQ(S_OK, status) << test::Hex(status);
        EXPECT_EQ(VARIANT_TRUE, result);
        EXPECT_EQ(row.bytes, count);
        const std::vector<test::RecordedEvent> events = sink->Events();
        ASSERT_EQ(2u, events.size());
        EXPECT_EQ(reading ? 5 : 7, events[0].id) << "Before";
        EXPECT_EQ(reading ? 6 : 8, events[1].id) << "After";
        continue;
      }
      EXPECT_EQ(test::Hex(E_POINTER), test::Hex(status));
      EXPECT_EQ(VARIANT_FALSE, result);
      EXPECT_EQ(0, count);
      EXPECT_EQ("", sink->Summary()) << "no event";
      std::vector<unsigned char> section(8192);
      memory_->put_FireEvents(VARIANT_FALSE);
      ASSERT_TRUE(test::ReadBytes(memory_.Get(), section.data(), 8192, 0));
      memory_->put_FireEvents(VARIANT_TRUE);
      EXPECT_TRUE(section == pattern) << "nothing copied";
    }
  }
  memory_->put_FireEvents(VARIANT_FALSE);
  sink->Release();
}
#ifdef _WIN64
// A 64-bit client's buffer may lie above 4 GB, where an address cut to 32 bits
// would point somewhere else: through the vtable and through the type library.
TEST_F(SharedMemoryInterface, ReadVBAndWriteVBReachABufferAbove4GB) {
  unsigned char* high = static_cast<unsigned char*>(
      VirtualAlloc(nullptr, 4096, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE));
  ASSERT_NE(nullptr, high);
  ASSERT_GT(reinterpret_cast<ULONG_PTR>(high), 0xFFFFFFFFull);
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 64, test::UniqueSectionName(L"High").c_str()));
  std::memcpy(high, "above four gigabytes", 20);
  long count = 0;
  VARIANT_BOOL result = VARIANT_FALSE;
  ASSERT_EQ(S_OK, memory_->WriteVB(reinterpret_cast<LONG_PTR>(high), 20, &count, 0, &result));
  EXPECT_EQ(20, count);
  std::memset(high, 0, 20);
  ASSERT_EQ(S_OK, memory_->ReadVB(reinterpret_cast<LONG_PTR>(high), 20, &count, 0, &result));
  EXPECT_EQ(0, std::memcmp(high, "above four gigabytes", 20));

  // Late bound, the address travels as a 64-bit integer (a VBA LongPtr).
  std::memset(high, 0, 20);
  VARIANT address;
  address.vt = VT_I8;
  address.llVal = reinterpret_cast<LONG_PTR>(high);
  VARIANT byReference;
  byReference.vt = VT_I4 | VT_BYREF;
  byReference.plVal = &count;
  count = 0;
  test::DispatchResult call;
  test::CallByName(memory_.As<IDispatch>().Get(), L"ReadVB", DISPATCH_METHOD,
                   {address, test::LongArgument(20), byReference, test::LongArgument(0)}, call);
  ASSERT_EQ(S_OK, call.status) << test::Hex(call.status);
  EXPECT_EQ(20, count);
  EXPECT_EQ(0, std::memcmp(high, "above four gigabytes", 20));
  VirtualFree(high, 0, MEM_RELEASE);
}
#endif

TEST_F(SharedMemoryInterface, AnswersItsInterfacesAndErrorInfoSupport) {
  ComPtr<ISupportErrorInfo> support = memory_.As<ISupportErrorInfo>();
  ASSERT_TRUE(support);
  EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(IID_ISharedMemory));
  EXPECT_EQ(S_FALSE, support->InterfaceSupportsErrorInfo(IID_IDispatch));
  EXPECT_TRUE(memory_.As<IDispatch>());
  EXPECT_TRUE(memory_.As<IConnectionPointContainer>());
  EXPECT_FALSE(memory_.As<IPersistStream>());
  // Every interface gives the same identity.
  ComPtr<IUnknown> identity = memory_.As<IUnknown>();
  EXPECT_EQ(identity.Get(), memory_.As<IDispatch>().As<IUnknown>().Get());
}

TEST_F(SharedMemoryInterface, CanBeAggregated) {
  test::AggregatingOuter outer;
  EXPECT_EQ(CLASS_E_NOAGGREGATION, CoCreateInstance(CLSID_QRNSharedMemory, &outer, CLSCTX_INPROC_SERVER,
                                                    IID_ISharedMemory, reinterpret_cast<void**>(&outer.inner)));
  ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QRNSharedMemory, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   reinterpret_cast<void**>(&outer.inner)));
  ISharedMemory* inner = nullptr;
  ASSERT_EQ(S_OK, outer.QueryInterface(IID_ISharedMemory, reinterpret_cast<void**>(&inner)));
  // The inner object's interfaces count references on the outer object.
  const ULONG before = outer.references;
  inner->AddRef();
  EXPECT_EQ(before + 1, outer.references);
  inner->Release();
  IUnknown* identity = nullptr;
  inner->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
  EXPECT_EQ(static_cast<IUnknown*>(&outer), identity);
  identity->Release();
  inner->Release();
  outer.inner->Release();
}

TEST_F(SharedMemoryInterface, ModuleCanUnloadOnlyWithoutObjectsOrLocks) {
  HMODULE module = GetModuleHandleW(L"QRNShrMem.dll");
  ASSERT_NE(nullptr, module);
  auto canUnload = reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(module, "DllCanUnloadNow")));
  ASSERT_NE(nullptr, canUnload);
  EXPECT_EQ(S_FALSE, canUnload());
  memory_.Reset();
  EXPECT_EQ(S_OK, canUnload());

  IClassFactory* factory = nullptr;
  ASSERT_EQ(S_OK, CoGetClassObject(CLSID_QRNSharedMemory, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                   reinterpret_cast<void**>(&factory)));
  factory->LockServer(TRUE);
  factory->Release();
  EXPECT_EQ(S_FALSE, canUnload());
  ASSERT_EQ(S_OK, CoGetClassObject(CLSID_QRNSharedMemory, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                   reinterpret_cast<void**>(&factory)));
  factory->LockServer(FALSE);
  factory->Release();
  EXPECT_EQ(S_OK, canUnload());
}

TEST_F(SharedMemoryInterface, ReadAndWriteAllocateNothing) {
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 8192, test::UniqueSectionName(L"NoAlloc").c_str()));
  test::AllocationCounter counter(GetModuleHandleW(L"QRNShrMem.dll"));
  ASSERT_GT(counter.Redirected(), 0u);
  std::vector<unsigned char> buffer(4096, 0x42);
  long count = 0;
  VARIANT_BOOL result = VARIANT_FALSE;
  for (int round = 0; round < 100; ++round) {
    memory_->Write(buffer.data(), 4096, &count, round, &result);
    memory_->Read(buffer.data(), 4096, &count, round, &result);
    memory_->WriteVB(reinterpret_cast<LONG_PTR>(buffer.data()), 16, nullptr, 0, &result);
    memory_->ReadVB(reinterpret_cast<LONG_PTR>(buffer.data()), 16, nullptr, 0, &result);
  }
  EXPECT_EQ(0, counter.Count());
  // The counter does see the module's allocations: a name is a new string.
  BSTR name = nullptr;
  memory_->get_Name(&name);
  SysFreeString(name);
  EXPECT_GT(counter.Count(), 0);
}

TEST_F(SharedMemoryInterface, AboutBoxShowsTheTitleAndVersionUntilOk) {
  std::string caption, titleLine;
  LOGFONTA font = {};
  const HRESULT status = test::WithDialog([&] { return memory_->AboutBox(); },
                                          [&](HWND dialog) {
                                            ASSERT_NE(nullptr, dialog) << "no About dialog appeared";
                                            char text[128] = {};
                                            GetWindowTextA(dialog, text, sizeof text);
                                            caption = text;
                                            titleLine = test::DialogItemText(dialog, 9001);
                                            HFONT used = reinterpret_cast<HFONT>(
                                                SendDlgItemMessageA(dialog, 9001, WM_GETFONT, 0, 0));
                                            GetObjectA(used, sizeof font, &font);
                                          });
  EXPECT_EQ(S_OK, status);
  EXPECT_EQ("About QUARENT SharedMemory", caption);
  EXPECT_EQ("QUARENT SharedMemory  v1.0.0.1", titleLine);
  EXPECT_EQ(FW_BOLD, font.lfWeight);
  EXPECT_STREQ("MS Sans Serif", font.lfFaceName);
}

// Threading model "Both": threads of the multithreaded apartment share one
// instance directly and each Write is atomic under AutoLock.
TEST(SharedMemoryThreads, ThreadsShareOneInstance) {
  ASSERT_TRUE(test::RegisterSharedMemoryOnce());
  test::Apartment apartment(COINIT_MULTITHREADED);
  ComPtr<ISharedMemory> memory = test::NewSharedMemory();
  ASSERT_TRUE(memory);
  ASSERT_TRUE(test::CreateSection(memory.Get(), 4096, test::UniqueSectionName(L"Threads").c_str()));

  constexpr int kThreads = 4;
  constexpr int kRounds = 300;
  std::vector<std::thread> threads;
  std::vector<int> torn(kThreads, 0);
  for (int thread = 0; thread < kThreads; ++thread) {
    threads.emplace_back([&, thread] {
      unsigned char record[256];
      for (int round = 0; round < kRounds; ++round) {
        std::memset(record, (thread * kRounds + round) & 0xFF, sizeof record);
        test::WriteBytes(memory.Get(), record, sizeof record, 0);
        test::ReadBytes(memory.Get(), record, sizeof record, 0);
        for (unsigned char byte : record) {
          if (byte != record[0]) {
            ++torn[thread];
            break;
          }
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int thread = 0; thread < kThreads; ++thread) EXPECT_EQ(0, torn[thread]) << "thread " << thread;
}

}  // namespace
