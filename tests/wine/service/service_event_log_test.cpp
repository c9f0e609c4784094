// QUARENT.QRNOrtivo's event-log entries: the message table the event viewer
// reads, and what the object hands to the platform, seen at its imports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "com_client.h"
#include "event_log_seam.h"
#include "ortivo_client.h"

namespace {

using test::ComPtr;
using test::Hex;
using test::Text;

// The published texts of messages 100 to 110.
const char* const kMessageTexts[] = {
    "The %1 service was installed.\r\n",
    "The %1 service was removed.\r\n",
    "The %1 service could not be removed.\r\n",
    "The control handler could not be installed.\r\n",
    "The initialization process failed.\r\n",
    "The service was started.\r\n",
    "The service received an unsupported request.\r\n",
    "The service was stopped.\r\n",
    "Debug: %1\r\n",
    "Error: %1\r\n",
    "%1\r\n",
};

class ServiceEventLogTest : public test::OrtivoTest {
 protected:
  void SetUp() override {
    OrtivoTest::SetUp();
    if (HasFatalFailure()) return;
    seam = std::make_unique<test::EventLogSeam>(test::ServiceModule());
    ASSERT_TRUE(seam->Installed());
  }
  void TearDown() override {
    ortivo.Reset();
    seam.reset();
  }

  VARIANT_BOOL Log(long type, long id, const wchar_t* message) {
    VARIANT_BOOL written = 123;
    EXPECT_EQ(ortivo->LogEvent(static_cast<Constants_Events>(type), static_cast<Constants_Messages>(id),
                               message ? static_cast<BSTR>(Text(message)) : nullptr, &written),
              S_OK);
    return written;
  }

  std::unique_ptr<test::EventLogSeam> seam;
};

TEST_F(ServiceEventLogTest, MessageTableHoldsTheElevenTextsInOneBlock) {
  HMODULE module = test::ServiceModule();
  HRSRC resource = FindResourceExW(module, MAKEINTRESOURCEW(11) /* RT_MESSAGETABLE */, MAKEINTRESOURCEW(1),
                                   MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  ASSERT_NE(resource, nullptr);
  const auto* table = static_cast<const MESSAGE_RESOURCE_DATA*>(LockResource(LoadResource(module, resource)));
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->NumberOfBlocks, 1u);
  EXPECT_EQ(table->Blocks[0].LowId, 100u);
  EXPECT_EQ(table->Blocks[0].HighId, 110u);
  const auto* entry = reinterpret_cast<const BYTE*>(table) + table->Blocks[0].OffsetToEntries;
  for (DWORD id = 100; id <= 110; ++id) {
    SCOPED_TRACE(id);
    const auto* message = reinterpret_cast<const MESSAGE_RESOURCE_ENTRY*>(entry);
    EXPECT_EQ(message->Flags, 0) << "ANSI text";
    EXPECT_STREQ(reinterpret_cast<const char*>(message->Text), kMessageTexts[id - 100]);
    entry += message->Length;

    char formatted[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS, module, id,
                                        MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), formatted, sizeof formatted,
                                        nullptr);
    EXPECT_GT(length, 0u);
    EXPECT_STREQ(formatted, kMessageTexts[id - 100]);
  }
}

TEST_F(ServiceEventLogTest, LogEventHandsTypeIdAndTextToThePlatform) {
  ASSERT_EQ(ortivo->put_ServiceName(Text(L"QuarentLog")), S_OK);
  struct Case {
    const char* note;
    long type;
    long id;
    const wchar_t* message;
    std::string text;
  };
  const Case cases[] = {
      {"error entry with message 109", qrnEventError, qrnMessageError, L"disk full", "disk full"},
      {"information entry with message 110", qrnEventInformation, qrnMessageInfo, L"ready", "ready"},
      {"debug message as a warning", qrnEventWarning, qrnMessageDebug, L"step 3", "step 3"},
      {"an id outside 108 to 110 is passed on", qrnEventInformation, 100, L"Mine", "Mine"},
      {"a type outside the constants is passed on", 3, qrnMessageInfo, L"odd", "odd"},
      {"a null message is an empty string", qrnEventSuccess, qrnMessageInfo, nullptr, ""},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    seam->Clear();
    EXPECT_EQ(Log(row.type, row.id, row.message), VARIANT_TRUE);
    const std::vector<test::LoggedEvent> events = seam->Events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].type, row.type);
    EXPECT_EQ(events[0].category, 0);
    EXPECT_EQ(events[0].id, static_cast<DWORD>(row.id));
    EXPECT_FALSE(events[0].userOrRawData);
    EXPECT_EQ(events[0].stringCount, 1);
    EXPECT_EQ(events[0].text, row.text);
    EXPECT_TRUE(events[0].platformResult) << "the real ReportEventA took the entry";
  }
}

TEST_F(ServiceEventLogTest, SourceIsOpenedOnceUnderTheFirstNameAndClosedOnce) {
  ASSERT_EQ(ortivo->put_ServiceName(Text(L"FirstName")), S_OK);
  EXPECT_EQ(Log(qrnEventInformation, qrnMessageInfo, L"one"), VARIANT_TRUE);
  ASSERT_EQ(ortivo->put_ServiceName(Text(L"SecondName")), S_OK);
  EXPECT_EQ(Log(qrnEventInformation, qrnMessageInfo, L"two"), VARIANT_TRUE);
  EXPECT_EQ(seam->OpenedSources(), std::vector<std::string>{"FirstName"});
  const std::vector<test::LoggedEvent> events = seam->Events();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].source, events[1].source);
  EXPECT_EQ(seam->CloseCount(), 0);
  ortivo.Reset();
  EXPECT_EQ(seam->CloseCount(), 1);
}

TEST_F(ServiceEventLogTest, RefusedSourceOrEntryGivesFalseAndTheNextCallTriesAgain) {
  ASSERT_EQ(ortivo->put_ServiceName(Text(L"QuarentLog")), S_OK);
  seam->refuseSource = true;
  EXPECT_EQ(Log(qrnEventError, qrnMessageError, L"lost"), VARIANT_FALSE);
  EXPECT_TRUE(seam->Events().empty());
  seam->refuseSource = false;
  EXPECT_EQ(Log(qrnEventError, qrnMessageError, L"kept"), VARIANT_TRUE);
  EXPECT_EQ(seam->OpenedSources().size(), 2u);

  seam->refuseReport = true;
  EXPECT_EQ(Log(qrnEventError, qrnMessageError, L"refused"), VARIANT_FALSE);
  seam->refuseReport = false;
  EXPECT_EQ(Log(qrnEventError, qrnMessageError, L"again"), VARIANT_TRUE);
  ortivo.Reset();
  EXPECT_EQ(seam->CloseCount(), 1);
}

}  // namespace
