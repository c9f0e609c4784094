#include "log_window.h"

#include <commctrl.h>

#include <utility>

#include "about_dialog.h"
#include "common/module.h"
#include "edit_categories_dialog.h"
#include "model/help_file.h"
#include "list_view.h"
#include "log_export.h"
#include "model/log_text.h"
#include "message_pump.h"
#include "model/message_rows.h"
#include "resource.h"

namespace quarent::brnlog {
namespace {

constexpr int kOptionsMenuPosition = 3;
constexpr int kInitialSize = 300;

// Puts a value back when the scope ends, however it ends.
template <class T>
class Restore {
 public:
  Restore(T& place, T value) : place_(place), saved_(std::exchange(place, std::move(value))) {}
  Restore(const Restore&) = delete;
  Restore& operator=(const Restore&) = delete;
  ~Restore() { place_ = std::move(saved_); }

 private:
  T& place_;
  T saved_;
};

}  // namespace

void LogWindow::Create() {
  if (window_ || !RegisterLogWindowClass()) return;
  HMENU menu = LoadMenuA(module::Instance(), MAKEINTRESOURCEA(IDR_LOG_MENU));
  HWND window = CreateWindowExA(WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, kLogWindowClass, "Log",
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetDesktopWindow(), menu,
                                module::Instance(), this);
  if (!window) {
    if (menu) DestroyMenu(menu);
    return;
  }
  SetWindowPos(window, nullptr, 0, 0, kInitialSize, kInitialSize, SWP_NOMOVE | SWP_NOZORDER);
}

void LogWindow::Close() {
  if (!window_) return;
  painting_.Detach();
  HWND window = std::exchange(window_, nullptr);
  listView_ = nullptr;
  topmost_ = false;
  ++listGeneration_;
  DisposeLogWindow(window);
}

void LogWindow::Show(int command) {
  painting_.Repaint();
  ShowWindow(window_, command);
}

void LogWindow::SetColumnTitle(int column, const std::string& ansi) { list_view::SetColumnTitle(listView_, column, ansi); }

void LogWindow::ShowLoggedMessage(size_t index) {
  if (!window_) return;
  // A Refresh filling the current list reaches the message in its turn.
  const bool refreshFillsList = refreshing_ && *refreshing_ == listGeneration_;
  if (!refreshFillsList) AddRowsOf(index);
  MessagePump pump;
  pump.DispatchAll();
  painting_.RepaintIfDue();
}

void LogWindow::Clear() {
  if (!window_) return;
  DeleteAllRows();
  owner_.Filters().ClearMessages();
}

void LogWindow::AddRowsOf(size_t index) {
  const FilterModel& model = owner_.Filters();
  const Message& message = model.Messages().at(index);
  const Category& category = model.Categories().at(static_cast<size_t>(message.categoryIndex));
  // The rows are complete copies before the list view sees any of them.
  const MessageRows rows = BuildMessageRows(message, category.name, text_);
  painting_.Hold();
  list_view::AppendRows(listView_, rows);
}

void LogWindow::DeleteAllRows() {
  list_view::DeleteAllRows(listView_);
  ++listGeneration_;
}

void LogWindow::Refresh() {
  if (!window_) return;
  painting_.Hold();
  DeleteAllRows();
  const uint64_t generation = listGeneration_;
  MessagePump pump;
  Restore<std::optional<uint64_t>> running(refreshing_, generation);
  // Stops when the window goes or the list is emptied or refilled by a
  // command or call run from a dispatched message.
  for (size_t index = 0; window_ && listGeneration_ == generation && index < owner_.Filters().Messages().size();
       ++index) {
    if (!owner_.Filters().ShownByRefresh(index)) continue;
    AddRowsOf(index);
    pump.DispatchOne();
    painting_.RepaintIfDue();
  }
  painting_.Repaint();
}

std::optional<std::string> LogWindow::LogText() const {
  const HWND list = listView_;
  return BuildLogText(list_view::RowCount(list), [list](int index) { return list_view::ReadRow(list, index); });
}

void LogWindow::Copy() {
  if (const std::optional<std::string> text = LogText()) CopyToClipboard(window_, *text);
}

void LogWindow::Save() {
  if (const std::optional<std::string> text = LogText()) SaveToChosenFile(listView_, *text);
}

void LogWindow::ToggleKeepOnTop() {
  HMENU bar = GetMenu(window_);
  const UINT state = bar ? GetMenuState(bar, ID_OPTIONS_KEEP_ON_TOP, MF_BYCOMMAND) : static_cast<UINT>(-1);
  const bool checked = state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
  if (checked && topmost_) {
    CheckMenuItem(GetSubMenu(bar, kOptionsMenuPosition), 0, MF_BYPOSITION | MF_UNCHECKED);
    SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    topmost_ = false;
  } else {
    if (bar) CheckMenuItem(bar, ID_OPTIONS_KEEP_ON_TOP, MF_BYCOMMAND | MF_CHECKED);
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    topmost_ = true;
  }
}

void LogWindow::ShowHelp() {
  char modulePath[MAX_PATH] = {};
  if (!GetModuleFileNameA(module::Instance(), modulePath, MAX_PATH)) return;
  const std::string helpFile = HelpFilePath(modulePath);
  WinHelpA(window_, helpFile.c_str(), HELP_FINDER, 0);
}

void LogWindow::EditCategories() { RunEditCategoriesDialog(window_, owner_.Filters(), text_); }

void LogWindow::OnCreate(HWND window) {
  InitCommonControls();
  topmost_ = false;
  listView_ = list_view::Create(window);
  painting_.Attach(window, listView_);
  ++listGeneration_;
}

void LogWindow::OnCommand(int commandId) {
  FilterModel& model = owner_.Filters();
  WindowFilterMenu menu = FilterMenu();
  switch (commandId) {
    case ID_FILE_EXIT:
      Close();
      return;
    case ID_FILE_SAVE:
      Save();
      return;
    case ID_EDIT_COPY:
      Copy();
      return;
    case ID_EDIT_CLEAR:
      Clear();
      return;
    case ID_FILTER_ENABLE_ALL:
      model.SetAllEnabled(true, menu);
      return;
    case ID_FILTER_DISABLE_ALL:
      model.SetAllEnabled(false, menu);
      return;
    case ID_FILTER_REFRESH:
      Refresh();
      return;
    case ID_EDIT_CATEGORIES:
      EditCategories();
      return;
    case ID_HELP_ABOUT:
      ShowLogAboutBox(window_);
      return;
    case ID_HELP_CONTENTS:
      ShowHelp();
      return;
    case ID_OPTIONS_KEEP_ON_TOP:
      ToggleKeepOnTop();
      return;
    default:
      // Filter items: a click toggles their level or category.
      model.SetFilterState(commandId, FilterMode::kToggle, menu);
  }
}

void LogWindow::OnNotify(const NMHDR& header) {
  if (header.code == static_cast<UINT>(NM_CLICK)) {
    owner_.RaiseClick(1);
  } else if (header.code == static_cast<UINT>(NM_RCLICK) && owner_.ContextMenuSetting() == 0) {
    owner_.RaiseClick(2);
  }
}

bool LogWindow::OnContextMenu(LPARAM position) {
  if (owner_.ContextMenuSetting() != 1) return false;
  HMENU filter = FilterMenu().Submenu();
  if (!filter) return false;
  const int x = static_cast<short>(LOWORD(position));
  const int y = static_cast<short>(HIWORD(position));
  TrackPopupMenu(filter, TPM_RIGHTBUTTON, x, y, 0, window_, nullptr);
  return true;
}

LRESULT LogWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      window_ = window;
      break;
    case WM_CREATE:
      OnCreate(window);
      return 0;
    case WM_SIZE:
      MoveWindow(listView_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (!header || header->idFrom != 0) break;
      // Rows carry no data of their own to free, so no LVN_DELETEITEM for
      // each of them when the list is emptied.
      if (header->code == static_cast<UINT>(LVN_DELETEALLITEMS)) return TRUE;
      OnNotify(*header);
      break;
    }
    case WM_CONTEXTMENU:
      if (OnContextMenu(lParam)) return 0;
      break;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_TIMER:
      if (wParam != DeferredPainting::kTimerId) break;
      painting_.Repaint();
      return 0;
    case WM_DESTROY:
      painting_.Detach();
      if (listView_) DestroyWindow(listView_);
      listView_ = nullptr;
      window_ = nullptr;
      topmost_ = false;
      ++listGeneration_;
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace quarent::brnlog
