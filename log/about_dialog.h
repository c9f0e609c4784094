#pragma once
// The log window's own About box ("About BrnLog Control").
#include <windows.h>

namespace quarent::brnlog {

// Shows the About box, modal and owned by `owner`, until its OK button closes it.
void ShowLogAboutBox(HWND owner);

}  // namespace quarent::brnlog
