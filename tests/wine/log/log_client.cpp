#include "log_client.h"

#include <memory>
#include <vector>

#include "processes.h"

namespace logtest {

bool RegisterBrnLog() {
  static const long status = test::RegisterServer(L"BrnLog.dll");
  return status == 0;
}

ILog* CreateLog() {
  CLSID classId;
  if (FAILED(CLSIDFromProgID(L"BrnLog.Log", &classId))) return nullptr;
  ILog* log = nullptr;
  if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_ILog, reinterpret_cast<void**>(&log)))) {
    return nullptr;
  }
  return log;
}

namespace {

struct WindowSearch {
  std::vector<HWND> found;
  bool visibleOnly;
};

BOOL CALLBACK CollectLogWindow(HWND window, LPARAM search) {
  auto* state = reinterpret_cast<WindowSearch*>(search);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (lstrcmpA(className, "BrnLogWindow") == 0 && (!state->visibleOnly || IsWindowVisible(window))) {
    state->found.push_back(window);
  }
  return TRUE;
}

}  // namespace

std::vector<HWND> LogWindowsOfThread(bool visibleOnly) {
  WindowSearch search{{}, visibleOnly};
  EnumThreadWindows(GetCurrentThreadId(), CollectLogWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindLogWindow() {
  const std::vector<HWND> windows = LogWindowsOfThread(true);
  return windows.empty() ? nullptr : windows.front();
}

HWND ListViewOf(HWND logWindow) { return FindWindowExA(logWindow, nullptr, WC_LISTVIEWA, nullptr); }

namespace {

std::string CellText(HWND list, int item, int subItem) {
  std::vector<char> buffer(8192, '\0');
  LVITEMA cell = {};
  cell.iSubItem = subItem;
  cell.pszText = buffer.data();
  cell.cchTextMax = static_cast<int>(buffer.size());
  SendMessageA(list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&cell));
  return cell.pszText;
}

}  // namespace

std::vector<Row> ReadRows(HWND list) {
  std::vector<Row> rows;
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    Row row;
    LVITEMA item = {};
    item.mask = LVIF_IMAGE | LVIF_INDENT;
    item.iItem = index;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    row.image = item.iImage;
    row.indent = item.iIndent;
    row.message = CellText(list, index, 0);
    row.value = CellText(list, index, 1);
    row.category = CellText(list, index, 2);
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> MessageColumn(HWND list) {
  std::vector<std::string> texts;
  for (const Row& row : ReadRows(list)) texts.push_back(row.message);
  return texts;
}

void ClickRow(HWND list, bool right) {
  RECT row = {LVIR_BOUNDS, 0, 0, 0};
  SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  const LPARAM point = MAKELPARAM(row.left + 10, row.top + 3);
  // The button-up message waits in the queue while the list view tracks the press.
  PostMessageA(list, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, point);
  SendMessageA(list, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, point);
  PumpMessages();
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void PumpMessagesFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpMessages();
  }
}

bool ShowsLastRow(HWND list) {
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  const int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
  const int perPage = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
  SCROLLINFO range = {};
  range.cbSize = sizeof range;
  range.fMask = SIF_RANGE;
  GetScrollInfo(list, SB_VERT, &range);
  return count > 0 && top + perPage >= count && range.nMax == count - 1;
}

bool WaitUntilShowsLastRow(HWND list, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!ShowsLastRow(list)) {
    if (GetTickCount() - start > timeoutMs) return false;
    PumpMessagesFor(10);
  }
  return true;
}

bool IsItemChecked(HWND window, UINT commandId) {
  const UINT state = GetMenuState(GetMenu(window), commandId, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

std::vector<std::string> FilterMenuTexts(HWND window) {
  std::vector<std::string> texts;
  HMENU filter = GetSubMenu(GetMenu(window), 2);
  const int count = GetMenuItemCount(filter);
  for (int position = 0; position < count; ++position) {
    char text[256] = {};
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE;
    item.dwTypeData = text;
    item.cch = sizeof text;
    GetMenuItemInfoA(filter, static_cast<UINT>(position), TRUE, &item);
    texts.push_back((item.fType & MFT_SEPARATOR) ? "-" : text);
  }
  return texts;
}

void Command(HWND window, UINT commandId) { SendMessageA(window, WM_COMMAND, MAKEWPARAM(commandId, 0), 0); }

HWND WaitForWindow(const char* className, const char* title, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND window = FindWindowA(className, title);
    if (window && IsWindowVisible(window)) return window;
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(20);
  }
}

void WhileDriving(const std::function<void()>& drive, const std::function<void()>& block) {
  std::thread driver(drive);
  block();
  driver.join();
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
      text = bytes;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool TakeQuitMessage(WPARAM* exitCode) {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      *exitCode = message.wParam;
      return true;
    }
    DispatchMessageA(&message);
  }
  return false;
}

namespace {

constexpr UINT kRunAction = WM_APP + 1;

LRESULT CALLBACK ClientWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunAction) {
    std::unique_ptr<std::function<void()>> action(reinterpret_cast<std::function<void()>*>(lParam));
    (*action)();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

ClientWindow::ClientWindow() {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = ClientWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "LogTestClient";
  RegisterClassA(&windowClass);
  window_ = CreateWindowExA(0, "LogTestClient", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
}

ClientWindow::~ClientWindow() { DestroyWindow(window_); }

void ClientWindow::Post(std::function<void()> action) {
  auto* posted = new std::function<void()>(std::move(action));
  PostMessageA(window_, kRunAction, 0, reinterpret_cast<LPARAM>(posted));
}

}  // namespace logtest
