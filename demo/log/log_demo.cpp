// A client of BrnLog.Log for the demonstration: logs messages at several
// levels and categories, with values and filters, saves the log through the
// window's Save command, and holds the log window and the Edit Categories
// dialog on screen while run.sh takes their pictures.
//
// Usage: log_demo.exe <output folder, Windows path>
// Hand-shake with run.sh through files in the output folder: the program
// writes "<name>.ready" (holding "x y width height" of what to picture) and
// waits for "<name>.taken".
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>

#include "BrnLog_h.h"

namespace {

constexpr UINT kSaveCommand = 32769;
constexpr UINT kEditCategoriesCommand = 32776;

std::string outputFolder;

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// Automation string owned for the scope.
class Text {
 public:
  explicit Text(const wchar_t* text) : text_(SysAllocString(text)) {}
  ~Text() { SysFreeString(text_); }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  operator BSTR() const { return text_; }

 private:
  BSTR text_;
};

VARIANT Long(long number) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_I4;
  V_I4(&value) = number;
  return value;
}

VARIANT Double(double number) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_R8;
  V_R8(&value) = number;
  return value;
}

BOOL CALLBACK FindLogWindowOfThread(HWND window, LPARAM found) {
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (lstrcmpA(className, "BrnLogWindow") != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

HWND LogWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindLogWindowOfThread, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND WaitForWindow(const char* title) {
  for (int attempt = 0; attempt < 500; ++attempt) {
    HWND window = FindWindowA("#32770", title);
    if (window && IsWindowVisible(window)) return window;
    Sleep(20);
  }
  return nullptr;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Tells run.sh that `window` is ready to be pictured as `name` and waits
// (dispatching messages when `pump`) until the picture is taken.
void HoldForPicture(HWND window, const char* name, bool pump) {
  RECT frame = {};
  GetWindowRect(window, &frame);
  const std::string ready = outputFolder + "\\" + name + ".ready";
  const std::string taken = outputFolder + "\\" + name + ".taken";
  {
    std::ofstream marker(ready, std::ios::binary);
    marker << frame.left << ' ' << frame.top << ' ' << frame.right - frame.left << ' ' << frame.bottom - frame.top
           << '\n';
  }
  for (int waited = 0; waited < 60000 && !FileExists(taken); waited += 50) {
    if (pump) PumpMessages();
    Sleep(50);
  }
  DeleteFileA(ready.c_str());
  DeleteFileA(taken.c_str());
}

struct DescendantSearch {
  const char* className;
  int id;
  HWND found;
};

BOOL CALLBACK MatchDescendant(HWND window, LPARAM search) {
  auto* state = reinterpret_cast<DescendantSearch*>(search);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (GetDlgCtrlID(window) != state->id || lstrcmpiA(className, state->className) != 0) return TRUE;
  state->found = window;
  return FALSE;
}

// Runs `user` on a second thread while this thread sends `command` to the
// log window (which opens a modal dialog).
void WhileUserActs(HWND window, UINT command, const std::function<void()>& user) {
  std::thread acting(user);
  SendMessageA(window, WM_COMMAND, command, 0);
  acting.join();
}

void Say(const char* text) {
  std::printf("%s\n", text);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::printf("usage: log_demo.exe <output folder>\n");
    return 2;
  }
  outputFolder = argv[1];
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CLSID classId;
  ILog* log = nullptr;
  if (FAILED(CLSIDFromProgID(L"BrnLog.Log", &classId)) ||
      FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_ILog, reinterpret_cast<void**>(&log)))) {
    Say("BrnLog.Log could not be created; is BrnLog.dll registered?");
    return 1;
  }

  short number = 0;
  log->CreateLogWindow(&number);
  log->LogCaption(Text(L"BrnLog demonstration"));
  HWND window = LogWindow();
  // The user widens the window so the three columns show in full.
  SetWindowPos(window, nullptr, 40, 40, 660, 380, SWP_NOZORDER);
  Say("A client creates BrnLog.Log, opens its log window and logs messages at levels 0 to 3:");

  log->put_MessageImage(brnRightArrow);
  log->LogMessage(Text(L"Application started"), 0);
  log->put_MessageImage(brnNoImage);
  log->LogMessageCategory(Text(L"Opening database orders.db"), Text(L"Database"), 1);
  log->LogMessageValue(Text(L"Rows loaded"), Long(1250), Text(L"Database"), 2);
  log->put_MessageImage(brnExclam);
  log->LogMessageValue(Text(L"Free disk space (MB)"), Long(512), Text(L"Disk"), 1);
  log->put_MessageImage(brnNoImage);
  log->LogMessageValue(Text(L"CPU temperature"), Double(48.5), Text(L"Sensor"), 2);
  Say("  five messages in the categories Database, Disk and Sensor, most with values.");

  Say("It keeps only Sensor readings above 50 and turns level 3 off:");
  VARIANT none;
  VariantInit(&none);
  log->CategoryLimits(Text(L"Sensor"), Double(50.0), brnGreater, none, brnNone);
  log->LevelEnable(3, 0);
  log->LogMessageValue(Text(L"CPU temperature"), Double(47.0), Text(L"Sensor"), 2);
  log->put_MessageImage(brnCircleX);
  log->LogMessageValue(Text(L"CPU temperature"), Double(71.5), Text(L"Sensor"), 2);
  log->put_MessageImage(brnNoImage);
  log->LogMessage(Text(L"Detail that nobody needs"), 3);
  Say("  47.0 and the level 3 message are dropped; 71.5 is listed with the Circle X image.");

  log->LogMessageValue(
      Text(L"A long message is cut into rows of 80 characters, each row after the first indented by four spaces, "
           L"so nothing is lost however long the text is."),
      none, Text(L"Database"), 1);
  VARIANT user;
  VariantInit(&user);
  V_VT(&user) = VT_BSTR;
  V_BSTR(&user) = SysAllocString(L"alice");
  log->LogMessageValue(Text(L"Signed in"), user, Text(L"Session"), 0);
  VariantClear(&user);
  PumpMessages();

  Say("Picture of the log window: log-window.png");
  HoldForPicture(window, "log-window", true);

  const std::string savePath = outputFolder + "\\brnlog-demo.log";
  DeleteFileA(savePath.c_str());
  WhileUserActs(window, kSaveCommand, [&] {
    HWND dialog = WaitForWindow("Save As");
    if (!dialog) return;
    DescendantSearch search{"Edit", 0x47c, nullptr};  // the file name box
    EnumChildWindows(dialog, MatchDescendant, reinterpret_cast<LPARAM>(&search));
    if (!search.found) {
      SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
      return;
    }
    SendMessageA(search.found, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(savePath.c_str()));
    SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
  });
  std::ifstream saved(savePath, std::ios::binary);
  const std::string savedText((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
  std::printf("File/Save wrote brnlog-demo.log (%u bytes):\n%s", static_cast<unsigned>(savedText.size()),
              savedText.c_str());
  std::fflush(stdout);

  Say("Edit/Edit Category... opens the Edit Categories dialog on the Sensor category: edit-categories.png");
  WhileUserActs(window, kEditCategoriesCommand, [] {
    HWND dialog = WaitForWindow("Edit Categories");
    if (!dialog) return;
    HWND categories = GetDlgItem(dialog, 201);
    const LRESULT sensor = SendMessageA(categories, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                        reinterpret_cast<LPARAM>("Sensor"));
    SendMessageA(categories, CB_SETCURSEL, sensor, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(201, CBN_SELCHANGE), reinterpret_cast<LPARAM>(categories));
    HoldForPicture(dialog, "edit-categories", false);
    SendDlgItemMessageA(dialog, 213, BM_CLICK, 0, 0);  // Cancel
  });

  PumpMessages();
  log->Release();
  PumpMessages();
  CoUninitialize();
  Say("The client releases the object; the log window closes.");
  return 0;
}
