#include "model/help_file.h"

namespace quarent::brnlog {

std::string HelpFilePath(const std::string& modulePath) {
  const size_t slash = modulePath.find_last_of('\\');
  const std::string folder = slash == std::string::npos ? std::string() : modulePath.substr(0, slash + 1);
  return folder + "BrnLog.hlp";
}

}  // namespace quarent::brnlog
