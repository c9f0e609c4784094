#pragma once
// Finds a modal dialog that a call on another thread opens, so a test can read
// it and close it while that call waits.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>

namespace test {

// Waits up to `timeoutMs` for a visible dialog (class "#32770") owned by thread
// `threadId` and returns it, or null.
HWND WaitForDialog(DWORD threadId, DWORD timeoutMs = 10000);

// Text of control `id` of `dialog`.
std::string DialogItemText(HWND dialog, int id);

// Runs `inspect(dialog)` on a helper thread once the thread that calls this
// opens a dialog, then presses the dialog's button `buttonId`; `call` is the
// call that opens the dialog and returns when it closes.
template <class Call>
auto WithDialog(Call&& call, const std::function<void(HWND)>& inspect, int buttonId = IDOK) {
  const DWORD threadId = GetCurrentThreadId();
  std::thread watcher([&] {
    HWND dialog = WaitForDialog(threadId);
    if (dialog) {
      inspect(dialog);
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
    } else {
      inspect(nullptr);
    }
  });
  auto result = call();
  watcher.join();
  return result;
}

}  // namespace test
