// Before/After events of QRNSharedMemory: order, arguments, the FireEvents
// switch, sinks that call back, and the sink list rules.
#include <gtest/gtest.h>
#include <olectl.h>

#include <cstring>
#include <memory>
#include <string>

#include "com_client.h"
#include "event_recorder.h"
#include "shared_memory_client.h"

namespace {

using test::ComPtr;
using test::EventRecorder;

// Dispatch identifiers of _ISharedMemoryEvents, as clients know them.
enum : DISPID {
  BeforeCreate = 1,
  AfterCreate = 2,
  BeforeDelete = 3,
  AfterDelete = 4,
  BeforeRead = 5,
  AfterRead = 6,
  BeforeWrite = 7,
  AfterWrite = 8,
};

std::string Narrow(const std::wstring& text) { return test::Narrow(text); }

class SharedMemoryEvents : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::RegisterSharedMemoryOnce());
    memory_ = test::NewSharedMemory();
    ASSERT_TRUE(memory_);
    first_ = new EventRecorder(DIID__ISharedMemoryEvents);
    second_ = new EventRecorder(DIID__ISharedMemoryEvents);
  }
  void TearDown() override {
    first_->Release();
    second_->Release();
  }

  test::Apartment apartment_;
  ComPtr<ISharedMemory> memory_;
  EventRecorder* first_ = nullptr;
  EventRecorder* second_ = nullptr;
};

TEST_F(SharedMemoryEvents, NothingIsRaisedWhileFireEventsIsFalse) {
  test::Connection connection(memory_.Get(), DIID__ISharedMemoryEvents, first_);
  ASSERT_EQ(S_OK, connection.Status());
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 16, test::UniqueSectionName(L"Quiet").c_str()));
  unsigned char byte = 0;
  test::ReadBytes(memory_.Get(), &byte, 1, 0);
  test::WriteBytes(memory_.Get(), &byte, 1, 0);
  test::DeleteSection(memory_.Get());
  EXPECT_EQ("", first_->Summary());
}

TEST_F(SharedMemoryEvents, EveryOperationRaisesItsEventsInOrderToEverySink) {
  test::Connection one(memory_.Get(), DIID__ISharedMemoryEvents, first_);
  test::Connection two(memory_.Get(), DIID__ISharedMemoryEvents, second_);
  ASSERT_EQ(S_OK, one.Status());
  ASSERT_EQ(S_OK, two.Status());
  memory_->put_FireEvents(VARIANT_TRUE);

  const std::string n = Narrow(test::UniqueSectionName(L"Ev"));
  const std::string m = Narrow(test::UniqueSectionName(L"Next"));
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 64, std::wstring(n.begin(), n.end()).c_str()));
  unsigned char buffer[8] = {};
  ASSERT_TRUE(test::WriteBytes(memory_.Get(), buffer, 8, 0));
  ASSERT_TRUE(test::ReadBytes(memory_.Get(), buffer, 8, 60));
  // At or past the end: nothing copied, nothing raised.
  EXPECT_FALSE(test::ReadBytes(memory_.Get(), buffer, 8, 64));
  EXPECT_FALSE(test::WriteBytes(memory_.Get(), buffer, 8, 100));
  // Zero bytes at a valid offset still raise both events.
  ASSERT_TRUE(test::ReadBytes(memory_.Get(), buffer, 0, 1));
  // Creating again deletes the old section first.
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 32, std::wstring(m.begin(), m.end()).c_str()));
  ASSERT_TRUE(test::DeleteSection(memory_.Get()));
  EXPECT_FALSE(test::DeleteSection(memory_.Get()));

  const std::string expected = "1(" + n + ",64) 2(" + n + ",64) 7(" + n + ") 8(" + n + ") 5(" + n + ") 6(" + n +
                               ") 5(" + n + ") 6(" + n + ") 3(" + n + ") 4(" + n + ") 1(" + m + ",32) 2(" + m +
                               ",32) 3(" + m + ") 4(" + m + ")";
  EXPECT_EQ(expected, first_->Summary());
  EXPECT_EQ(expected, second_->Summary());
}

TEST_F(SharedMemoryEvents, FailedCreateRaisesOnlyBeforeCreate) {
  test::Connection one(memory_.Get(), DIID__ISharedMemoryEvents, first_);
  memory_->put_FireEvents(VARIANT_TRUE);
  HRESULT status = S_OK;
  EXPECT_FALSE(test::CreateSection(memory_.Get(), 0, L"NoSuchSectionYet", &status));
  EXPECT_NE(S_OK, status);
  EXPECT_EQ("1(NoSuchSectionYet,0)", first_->Summary());
}

TEST_F(SharedMemoryEvents, AfterDeleteStillSeesTheOldName) {
  const std::wstring name = test::UniqueSectionName(L"Old");
  std::wstring seenInside;
  first_->hook = [&](DISPID id, DISPPARAMS*) {
    if (id == AfterDelete) seenInside = test::NameOf(memory_.Get());
  };
  test::Connection one(memory_.Get(), DIID__ISharedMemoryEvents, first_);
  memory_->put_FireEvents(VARIANT_TRUE);
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 16, name.c_str()));
  ASSERT_TRUE(test::DeleteSection(memory_.Get()));
  EXPECT_EQ(name, seenInside);
  EXPECT_EQ(L"", test::NameOf(memory_.Get()));
}

TEST_F(SharedMemoryEvents, ReleaseRaisesNothingAndLetsTheSinksGo) {
  // Advise by hand, keeping no reference to the connection point, so that the
  // object's last reference is the test's.
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(S_OK, memory_.As<IConnectionPointContainer>()->FindConnectionPoint(DIID__ISharedMemoryEvents,
                                                                                point.Receive()));
  DWORD cookie = 0;
  ASSERT_EQ(S_OK, point->Advise(first_, &cookie));
  point.Reset();
  const ULONG connectedReferences = first_->AddRef() - 1;
  first_->Release();

  memory_->put_FireEvents(VARIANT_TRUE);
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 16, test::UniqueSectionName(L"Gone").c_str()));
  first_->Clear();
  memory_.Reset();
  EXPECT_EQ("", first_->Summary());
  EXPECT_EQ(connectedReferences - 1, first_->AddRef() - 1) << "the object released its reference to the sink";
  first_->Release();
}

TEST_F(SharedMemoryEvents, AFailingSinkDoesNotStopDelivery) {
  first_->answer = E_FAIL;
  test::Connection one(memory_.Get(), DIID__ISharedMemoryEvents, first_);
  test::Connection two(memory_.Get(), DIID__ISharedMemoryEvents, second_);
  memory_->put_FireEvents(VARIANT_TRUE);
  EXPECT_TRUE(test::CreateSection(memory_.Get(), 16, L"FailingSinkSection"));
  EXPECT_EQ("1(FailingSinkSection,16) 2(FailingSinkSection,16)", second_->Summary());
}

TEST_F(SharedMemoryEvents, SinkThatDeletesTheSectionInBeforeReadStopsTheCopy) {
  first_->hook = [&](DISPID id, DISPPARAMS*) {
    if (id == BeforeRead || id == BeforeWrite) test::DeleteSection(memory_.Get());
  };
  test::Connection one(memory_.Get(), DIID__ISharedMemoryEvents, first_);
  memory_->put_FireEvents(VARIANT_TRUE);
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 4096, test::UniqueSectionName(L"Pulled").c_str()));
  unsigned char buffer[4096];
  std::memset(buffer, 0x33, sizeof buffer);
  long count = 99;
  HRESULT status = E_FAIL;
  EXPECT_FALSE(test::ReadBytes(memory_.Get(), buffer, 4096, 0, &count, &status));
  EXPECT_EQ(S_OK, status);
  EXPECT_EQ(0, count);
  EXPECT_EQ(0x33, buffer[0]);

  ASSERT_TRUE(test::CreateSection(memory_.Get(), 4096, test::UniqueSectionName(L"Pulled").c_str()));
  EXPECT_FALSE(test::WriteBytes(memory_.Get(), buffer, 4096, 0, &count, &status));
  EXPECT_EQ(S_OK, status);
  EXPECT_EQ(0, count);
}

TEST_F(SharedMemoryEvents, SinkThatReplacesTheSectionInBeforeWriteKeepsTheCopyInside) {
  const std::wstring small = test::UniqueSectionName(L"Small");
  bool replaced = false;
  first_->hook = [&](DISPID id, DISPPARAMS*) {
    if (id == BeforeWrite && !replaced) {
      replaced = true;
      test::CreateSection(memory_.Get(), 8, small.c_str());
    }
  };
  test::Connection one(memory_.Get(), DIID__ISharedMemoryEvents, first_);
  memory_->put_FireEvents(VARIANT_TRUE);
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 65536, test::UniqueSectionName(L"Big").c_str()));
  std::string payload(65536, 'x');
  long count = 0;
  // The copy goes to the section held after the event, bounded by its size.
  EXPECT_TRUE(test::WriteBytes(memory_.Get(), payload.data(), 65536, 4, &count));
  EXPECT_EQ(4, count);
  EXPECT_EQ(small, test::NameOf(memory_.Get()));
  char back[8] = {};
  ASSERT_TRUE(test::ReadBytes(memory_.Get(), back, 8, 0));
  EXPECT_EQ(0, back[3]);
  EXPECT_EQ('x', back[4]);
}

TEST_F(SharedMemoryEvents, ARemovedSinkLeavesAPlaceTheNextSinkTakes) {
  EventRecorder* third = new EventRecorder(DIID__ISharedMemoryEvents);
  auto one = std::make_unique<test::Connection>(memory_.Get(), DIID__ISharedMemoryEvents, first_);
  test::Connection two(memory_.Get(), DIID__ISharedMemoryEvents, second_);
  EXPECT_EQ(1u, one->Cookie());
  EXPECT_EQ(2u, two.Cookie());
  one.reset();
  test::Connection three(memory_.Get(), DIID__ISharedMemoryEvents, third);
  EXPECT_EQ(1u, three.Cookie()) << "the first empty place is taken again";

  // Delivery follows the places: the new sink (place 1) before the second (place 2).
  std::string order;
  third->hook = [&](DISPID, DISPPARAMS*) { order += "third "; };
  second_->hook = [&](DISPID, DISPPARAMS*) { order += "second "; };
  memory_->put_FireEvents(VARIANT_TRUE);
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 8, L"PlacesSection"));
  EXPECT_EQ("third second third second ", order);
  EXPECT_EQ("", first_->Summary());
  three.Disconnect();
  third->Release();
}

TEST_F(SharedMemoryEvents, SinkConnectedDuringRaisingWaitsForTheNextEvent) {
  test::Connection* late = nullptr;
  first_->hook = [&](DISPID id, DISPPARAMS*) {
    if (id == BeforeCreate && late == nullptr) {
      late = new test::Connection(memory_.Get(), DIID__ISharedMemoryEvents, second_);
    }
  };
  test::Connection one(memory_.Get(), DIID__ISharedMemoryEvents, first_);
  memory_->put_FireEvents(VARIANT_TRUE);
  ASSERT_TRUE(test::CreateSection(memory_.Get(), 8, L"LateSinkSection"));
  // The count of places is read once: the new place 2 was beyond it for BeforeCreate.
  EXPECT_EQ("2(LateSinkSection,8)", second_->Summary());
  delete late;
}

TEST_F(SharedMemoryEvents, ConnectionPointDescribesItself) {
  ComPtr<IConnectionPointContainer> container = memory_.As<IConnectionPointContainer>();
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID__ISharedMemoryEvents, point.Receive()));
  IID iid;
  ASSERT_EQ(S_OK, point->GetConnectionInterface(&iid));
  EXPECT_TRUE(IsEqualIID(iid, DIID__ISharedMemoryEvents));
  EXPECT_EQ(CONNECT_E_NOCONNECTION, container->FindConnectionPoint(IID_IPropertyNotifySink, point.Receive()));

  ComPtr<IEnumConnectionPoints> points;
  ASSERT_EQ(S_OK, container->EnumConnectionPoints(points.Receive()));
  IConnectionPoint* found[2] = {};
  ULONG fetched = 0;
  EXPECT_EQ(S_FALSE, points->Next(2, found, &fetched));
  EXPECT_EQ(1u, fetched);
  found[0]->Release();

  test::Connection one(memory_.Get(), DIID__ISharedMemoryEvents, first_);
  ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID__ISharedMemoryEvents, point.Receive()));
  ComPtr<IEnumConnections> connections;
  ASSERT_EQ(S_OK, point->EnumConnections(connections.Receive()));
  CONNECTDATA data = {};
  ASSERT_EQ(S_OK, connections->Next(1, &data, &fetched));
  EXPECT_EQ(one.Cookie(), data.dwCookie);
  data.pUnk->Release();
  EXPECT_EQ(CONNECT_E_NOCONNECTION, point->Unadvise(77));
}

}  // namespace
