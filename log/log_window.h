#pragma once
// The log window of a Log object: a top-level window whose list view shows the
// rows of logged messages, with the File, Edit, Filter, Options and Help
// menus, the context menu and the Click notifications.
//
// Logging and Refresh dispatch pending messages, so anything (a Clear, another
// logging call, a Refresh, closing the window) can happen in their middle:
// rows are always built from copies, a Refresh stops when the list was emptied
// or replaced under it, and a message logged during a Refresh is left for that
// Refresh to show in its place.
//
// Rows go into the list at once, but its painting is held back while they
// come in a burst and done at most every few milliseconds (DeferredPainting).
#include <windows.h>
#include <unknwn.h>

#include <cstdint>
#include <optional>
#include <string>

#include "deferred_painting.h"
#include "model/filter_model.h"
#include "model/platform_text.h"
#include "window_filter_menu.h"

namespace quarent::brnlog {

// What the log window needs from the object that owns it.
class LogWindowOwner {
 public:
  // The owner's message store and tables.
  virtual FilterModel& Filters() = 0;
  // The ContextMenuEnabled setting: 1 opens the context menu, 0 reports right clicks.
  virtual int32_t ContextMenuSetting() const = 0;
  // Raises Click(button) to the owner's sinks.
  virtual void RaiseClick(int16_t button) = 0;
  // The owner's identity, referenced while the window handles a message.
  virtual IUnknown* Identity() = 0;

 protected:
  ~LogWindowOwner() = default;
};

class LogWindow {
 public:
  LogWindow(LogWindowOwner& owner, const PlatformText& text) : owner_(owner), text_(text) {}
  LogWindow(const LogWindow&) = delete;
  LogWindow& operator=(const LogWindow&) = delete;
  ~LogWindow() { Close(); }

  bool Exists() const { return window_ != nullptr; }
  HWND Handle() const { return window_; }

  // Creates the window (visible, "Log", 300 by 300 pixels) unless one exists.
  void Create();

  // Closes the window. While one of the window's own messages is being
  // handled (a Click sink, a dialog, the context menu may have led here) it is
  // hidden at once and destroyed when the thread next dispatches messages.
  void Close();

  void SetCaption(const std::string& ansi) { SetWindowTextA(window_, ansi.c_str()); }
  // Shows the window as ShowWindow's `command` says, its list painted first.
  void Show(int command);
  void SetColumnTitle(int column, const std::string& ansi);

  // The Filter menu of the window (not available without a window).
  WindowFilterMenu FilterMenu() const { return WindowFilterMenu(window_, text_); }

  // Shows the rows of stored message `index`, just accepted, then dispatches
  // every pending message of the thread.
  void ShowLoggedMessage(size_t index);

  // Deletes every row and empties the message store (ClearLogWindow, Clear).
  void Clear();

  // Handles message `message` of the window; called by its window procedure.
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // The owner, for the window procedure.
  LogWindowOwner& Owner() { return owner_; }

 private:
  void OnCreate(HWND window);
  void OnCommand(int commandId);
  void OnNotify(const NMHDR& header);
  // Opens the Filter menu at `position` when ContextMenuEnabled is 1; false otherwise.
  bool OnContextMenu(LPARAM position);

  void Refresh();
  void Copy();
  void Save();
  void ToggleKeepOnTop();
  void ShowHelp();
  void EditCategories();

  // Appends the rows of stored message `index`.
  void AddRowsOf(size_t index);
  void DeleteAllRows();
  // Text of the listed rows for Copy and Save, or nothing.
  std::optional<std::string> LogText() const;

  LogWindowOwner& owner_;
  const PlatformText& text_;
  HWND window_ = nullptr;
  HWND listView_ = nullptr;
  DeferredPainting painting_;
  bool topmost_ = false;
  // Counts the times the list was emptied or replaced.
  uint64_t listGeneration_ = 0;
  // The list generation that the Refresh running now fills, if any.
  std::optional<uint64_t> refreshing_;
};

// Registers the log window class of this module (again, when a class of the
// same name from an earlier load of the module is left); false on failure.
bool RegisterLogWindowClass();

// Name of the log window class.
extern const char kLogWindowClass[];

// Destroys a log window its LogWindow has let go of; one that is handling one
// of its own messages now is hidden at once and destroyed at the next dispatch.
void DisposeLogWindow(HWND window);

}  // namespace quarent::brnlog
