#include "event_log_writer.h"

namespace quarent::service {

EventLogWriter::~EventLogWriter() {
  if (source_ != nullptr) DeregisterEventSource(source_);
}

HANDLE EventLogWriter::Source(const std::string& sourceName) {
  CriticalSectionLock hold(lock_);
  if (source_ == nullptr) source_ = RegisterEventSourceA(nullptr, sourceName.c_str());
  return source_;
}

bool EventLogWriter::Write(const std::string& sourceName, WORD type, DWORD id, const char* insertion) {
  const HANDLE source = Source(sourceName);
  if (source == nullptr) return false;
  // An absent insertion string is passed as no string at all: a null entry in
  // the string array is not something every event log accepts.
  const char* strings[] = {insertion};
  const WORD count = insertion != nullptr ? 1 : 0;
  return ReportEventA(source, type, 0, id, nullptr, count, 0, count ? strings : nullptr, nullptr) != FALSE;
}

}  // namespace quarent::service
