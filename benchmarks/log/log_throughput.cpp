// Messages logged per second through ILog::LogMessageValue with a log window,
// against a baseline that inserts the same rows into a list view directly.
// Each is measured with the window shown and hidden: under Wine a shown list
// view repaints on every insertion, which dominates both. Prints figures;
// asserts nothing.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BrnLog_h.h"
#include "processes.h"

namespace {

constexpr int kRounds = 3;

// How one comparison runs.
struct Scenario {
  const char* name;
  int messageLength;  // characters; 80 bytes per row
  int messages;
  bool shown;
};

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

std::wstring MessageText(int index, int length) {
  std::wstring text = L"message " + std::to_wstring(index) + L" ";
  text.resize(static_cast<size_t>(length), L'x');
  return text;
}

// Seconds to log the scenario's messages through the interface.
double TimeLogObject(const Scenario& scenario) {
  ILog* log = nullptr;
  CLSID classId;
  if (FAILED(CLSIDFromProgID(L"BrnLog.Log", &classId)) ||
      FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_ILog, reinterpret_cast<void**>(&log)))) {
    return -1;
  }
  short number = 0;
  log->CreateLogWindow(&number);
  if (!scenario.shown) log->LogShowWindow(brnHide);
  PumpMessages();
  std::vector<BSTR> texts;
  for (int index = 0; index < scenario.messages; ++index) {
    texts.push_back(SysAllocString(MessageText(index, scenario.messageLength).c_str()));
  }
  BSTR category = SysAllocString(L"Bench");
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_I4;

  const LARGE_INTEGER start = Now();
  for (int index = 0; index < scenario.messages; ++index) {
    V_I4(&value) = index;
    log->LogMessageValue(texts[static_cast<size_t>(index)], value, category, static_cast<short>(index % 4));
  }
  const LARGE_INTEGER end = Now();

  for (BSTR text : texts) SysFreeString(text);
  SysFreeString(category);
  PumpMessages();
  log->Release();
  PumpMessages();
  return Seconds(start, end);
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// Seconds to insert the rows of the same messages (one or more per message,
// 80 bytes each) into a list view like the log window's.
double TimeRawListView(const Scenario& scenario) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = PlainWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "RawListFrame";
  RegisterClassA(&windowClass);
  const DWORD visible = scenario.shown ? WS_VISIBLE : 0;
  HWND frame = CreateWindowExA(0, "RawListFrame", "Raw", WS_OVERLAPPEDWINDOW | visible, CW_USEDEFAULT, CW_USEDEFAULT,
                               300, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  RECT client = {};
  GetClientRect(frame, &client);
  HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, 0, 0, client.right,
                              client.bottom, frame, nullptr, GetModuleHandleA(nullptr), nullptr);
  const char* titles[] = {"Message", "Value", "Category"};
  const int widths[] = {250, 80, 80};
  for (int column = 0; column < 3; ++column) {
    LVCOLUMNA header = {};
    header.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    header.cx = widths[column];
    header.pszText = const_cast<char*>(titles[column]);
    header.iSubItem = column;
    SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
  }
  PumpMessages();
  std::vector<std::string> texts;
  for (int index = 0; index < scenario.messages; ++index) {
    const std::wstring wide = MessageText(index, scenario.messageLength);
    texts.emplace_back(wide.begin(), wide.end());
  }
  char category[] = "Bench";

  const LARGE_INTEGER start = Now();
  for (int index = 0; index < scenario.messages; ++index) {
    const std::string& text = texts[static_cast<size_t>(index)];
    std::string value = std::to_string(index);
    for (size_t offset = 0; offset == 0 || offset <= text.size(); offset += 80) {
      std::string row = offset == 0 ? text.substr(0, 80) : "    " + text.substr(offset, 80);
      LVITEMA item = {};
      item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_INDENT;
      item.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
      item.pszText = row.data();
      item.iImage = -1;
      item.iIndent = index % 4;
      const int inserted = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
      if (offset == 0) {
        LVITEMA cell = {};
        cell.iSubItem = 1;
        cell.pszText = value.data();
        SendMessageA(list, LVM_SETITEMTEXTA, inserted, reinterpret_cast<LPARAM>(&cell));
        cell.iSubItem = 2;
        cell.pszText = category;
        SendMessageA(list, LVM_SETITEMTEXTA, inserted, reinterpret_cast<LPARAM>(&cell));
      }
      SendMessageA(list, LVM_ENSUREVISIBLE, inserted, FALSE);
    }
  }
  const LARGE_INTEGER end = Now();

  PumpMessages();
  DestroyWindow(frame);
  PumpMessages();
  return Seconds(start, end);
}

void Compare(const Scenario& scenario) {
  double logSeconds = 1e9;
  double rawSeconds = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    logSeconds = std::min(logSeconds, TimeLogObject(scenario));
    rawSeconds = std::min(rawSeconds, TimeRawListView(scenario));
  }
  std::printf("%-34s %5d messages  LogMessageValue %8.0f/s  raw list view %8.0f/s  ratio %.2f\n", scenario.name,
              scenario.messages, scenario.messages / logSeconds, scenario.messages / rawSeconds,
              logSeconds / rawSeconds);
  std::fflush(stdout);
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  InitCommonControls();
  if (test::RegisterServer(L"BrnLog.dll") != 0) {
    std::printf("BrnLog.dll could not be registered\n");
    return 1;
  }
  std::printf("best of %d runs\n", kRounds);
  const Scenario scenarios[] = {
      {"one-row messages, window shown", 40, 100, true},
      {"one-row messages, window hidden", 40, 3000, false},
      {"three-row messages, window hidden", 200, 1000, false},
  };
  for (const Scenario& scenario : scenarios) Compare(scenario);
  CoUninitialize();
  return 0;
}
