#include "dialog_watcher.h"

namespace test {
namespace {

BOOL CALLBACK CollectStatic(HWND child, LPARAM collected) {
  char className[32] = {};
  GetClassNameA(child, className, sizeof className);
  if (lstrcmpiA(className, "Static") == 0) {
    char text[512] = {};
    GetWindowTextA(child, text, sizeof text);
    if (text[0]) *reinterpret_cast<std::string*>(collected) += text;
  }
  return TRUE;
}

}  // namespace

DialogWatcher::DialogWatcher(std::string title) : title_(std::move(title)), thread_([this] { Watch(); }) {}

DialogWatcher::~DialogWatcher() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

std::string DialogWatcher::Text() {
  if (thread_.joinable()) thread_.join();
  return text_;
}

void DialogWatcher::Watch() {
  const DWORD end = GetTickCount() + 10000;
  while (!stop_ && GetTickCount() < end) {
    HWND dialog = FindWindowA("#32770", title_.c_str());
    if (dialog) {
      std::string text;
      EnumChildWindows(dialog, &CollectStatic, reinterpret_cast<LPARAM>(&text));
      text_ = text;
      PostMessageA(dialog, WM_COMMAND, IDOK, 0);
      return;
    }
    Sleep(20);
  }
}

}  // namespace test
