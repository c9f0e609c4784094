#pragma once
// Closes the next modal dialog with a given title from a second thread and keeps the text of
// its static controls, so that tests can run code that shows a message box or the About box.
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

namespace test {

class DialogWatcher {
 public:
  // Watches for up to 10 seconds for a dialog titled `title`.
  explicit DialogWatcher(std::string title);
  ~DialogWatcher();
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;

  // The text of the dialog's static controls once it was closed ("" when none came).
  std::string Text();

 private:
  void Watch();

  std::string title_;
  std::atomic<bool> stop_{false};
  std::string text_;
  std::thread thread_;
};

}  // namespace test
