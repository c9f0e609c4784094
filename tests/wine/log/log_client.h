#pragma once
// Helpers of the BrnLog tests: creating Log objects by ProgID, finding the log
// window and its list view, reading rows back with list-view messages, and
// driving modal dialogs from a second thread.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "BrnLog_h.h"
#include "com_client.h"

namespace logtest {

// Menu commands of the log window.
constexpr UINT kExit = 32768;
constexpr UINT kSave = 32769;
constexpr UINT kCopy = 32770;
constexpr UINT kClear = 32771;
constexpr UINT kEnableAll = 32773;
constexpr UINT kDisableAll = 32774;
constexpr UINT kRefresh = 32775;
constexpr UINT kEditCategories = 32776;
constexpr UINT kAbout = 32777;
constexpr UINT kKeepOnTop = 32780;

// Registers BrnLog.dll once per test program; false when regsvr32 failed.
bool RegisterBrnLog();

// Creates a Log object through the ProgID "BrnLog.Log" (null on failure).
ILog* CreateLog();

using test::Text;

// The log windows of the calling thread (only the visible ones when `visibleOnly`).
std::vector<HWND> LogWindowsOfThread(bool visibleOnly);
// The (only) visible log window of the calling thread, or null.
HWND FindLogWindow();
// The list view of a log window.
HWND ListViewOf(HWND logWindow);

// One list row as the list view reports it.
struct Row {
  std::string message;
  std::string value;
  std::string category;
  int image = 0;
  int indent = 0;
};
std::vector<Row> ReadRows(HWND list);
// The Message column of every row.
std::vector<std::string> MessageColumn(HWND list);

// Clicks row 0 of `list` with the left or right button as the mouse does,
// then dispatches pending messages.
void ClickRow(HWND list, bool right);

// Dispatches the calling thread's pending messages.
void PumpMessages();
// Dispatches the calling thread's messages as they come for `milliseconds`.
void PumpMessagesFor(DWORD milliseconds);

// The last row of `list` is scrolled into view and the list's scroll range
// counts every row (a list view with redraw off keeps an old range).
bool ShowsLastRow(HWND list);
// Dispatches the calling thread's messages until ShowsLastRow(list), for
// `timeoutMs` at most; false on time-out.
bool WaitUntilShowsLastRow(HWND list, DWORD timeoutMs = 5000);

// Menu item `commandId` of `window`'s menu bar is checked.
bool IsItemChecked(HWND window, UINT commandId);
// Texts of the Filter menu's items ("-" for a separator).
std::vector<std::string> FilterMenuTexts(HWND window);

// Sends menu command `commandId` to `window`.
void Command(HWND window, UINT commandId);

// Waits up to `timeoutMs` for a top-level window of class `className` (null:
// any) titled `title` in this process to be visible; null on time-out.
HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs = 10000);

// Runs `drive` on a second thread while the calling thread does `block` (for
// example a command that opens a modal dialog); joins the thread afterwards.
void WhileDriving(const std::function<void()>& drive, const std::function<void()>& block);

// The text on the clipboard (CF_TEXT), or nothing.
std::string ClipboardText();

// Dispatches pending messages up to a WM_QUIT; true, with its exit code, when there was one.
bool TakeQuitMessage(WPARAM* exitCode);

// A hidden window of the calling thread that runs posted actions when its
// messages are dispatched, as a client's own window procedures would.
class ClientWindow {
 public:
  ClientWindow();
  ~ClientWindow();
  ClientWindow(const ClientWindow&) = delete;
  ClientWindow& operator=(const ClientWindow&) = delete;

  // Posts `action`; it runs when the message is dispatched.
  void Post(std::function<void()> action);

 private:
  HWND window_ = nullptr;
};

}  // namespace logtest
