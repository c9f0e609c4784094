#pragma once
// The service object's writer of application event-log entries: one event
// source, opened on first use under the name in force then, shared by every
// thread of the object and closed once when the writer goes.
#include "service_platform.h"

#include <string>

#include "common/win_handles.h"

namespace quarent::service {

// Message numbers of the component's message table (resource 1, 0x409).
enum EventMessage : DWORD {
  kMessageInstalled = 100,
  kMessageRemoved = 101,
  kMessageNotRemoved = 102,
  kMessageHandlerNotInstalled = 103,
  kMessageInitializationFailed = 104,
  kMessageStarted = 105,
  kMessageStopped = 107,
};

class EventLogWriter {
 public:
  EventLogWriter() = default;
  ~EventLogWriter();
  EventLogWriter(const EventLogWriter&) = delete;
  EventLogWriter& operator=(const EventLogWriter&) = delete;

  // Hands one entry (category 0, no user, no raw data) with one insertion
  // string, or none when `insertion` is null, to the event log. The source is
  // opened under `sourceName` if it is not open yet. True when the platform
  // accepted the entry; false when the source cannot be opened or the
  // platform refused the entry.
  bool Write(const std::string& sourceName, WORD type, DWORD id, const char* insertion);

 private:
  // The open source, opening it under `sourceName` first if needed; null on failure.
  HANDLE Source(const std::string& sourceName);

  CriticalSection lock_;  // guards the opening of source_
  HANDLE source_ = nullptr;
};

}  // namespace quarent::service
