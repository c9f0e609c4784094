#pragma once
// Where the log window's Help command finds its help file.
#include <string>

namespace quarent::brnlog {

// The help file beside a module: `modulePath` with its file name (after the
// last backslash) replaced by "BrnLog.hlp".
std::string HelpFilePath(const std::string& modulePath);

}  // namespace quarent::brnlog
