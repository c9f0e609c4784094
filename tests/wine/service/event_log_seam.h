#pragma once
// Watches QRNNTSrv.dll's use of the event log through its imports: every
// RegisterEventSourceA, ReportEventA and DeregisterEventSource call is recorded
// and then handed to the real function, unless the test asks the seam to
// refuse it the way a system without the right would.
#include <windows.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "import_hook.h"

namespace test {

struct LoggedEvent {
  WORD type = 0;
  WORD category = 0xFFFF;
  DWORD id = 0;
  bool userOrRawData = true;  // a user SID, a raw data size or raw data was given
  WORD stringCount = 0;
  std::string text;         // the first insertion string, if any
  HANDLE source = nullptr;  // the event source handle used
  BOOL platformResult = FALSE;
};

class EventLogSeam {
 public:
  // Hooks the imports of `dll`; only one seam may exist at a time.
  explicit EventLogSeam(HMODULE dll);
  ~EventLogSeam();

  bool Installed() const;
  std::vector<LoggedEvent> Events();
  // Event ids in order, for comparisons.
  std::vector<DWORD> Ids();
  std::vector<std::string> OpenedSources();
  int CloseCount();
  void Clear();

  // Answer the next RegisterEventSourceA calls with failure.
  bool refuseSource = false;
  // Answer the next ReportEventA calls with failure (after recording them).
  bool refuseReport = false;

 private:
  static HANDLE WINAPI RegisterSource(LPCSTR server, LPCSTR name);
  static BOOL WINAPI Report(HANDLE source, WORD type, WORD category, DWORD id, PSID user, WORD count, DWORD size,
                            LPCSTR* strings, LPVOID data);
  static BOOL WINAPI Deregister(HANDLE source);

  std::mutex mutex_;
  std::vector<LoggedEvent> events_;
  std::vector<std::string> sources_;
  int closes_ = 0;
  std::unique_ptr<ImportHook> register_;
  std::unique_ptr<ImportHook> report_;
  std::unique_ptr<ImportHook> deregister_;
};

}  // namespace test
