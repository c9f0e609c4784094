#include "service_config_rules.h"

namespace quarent::service {

bool IsValidServiceName(std::string_view name, LeadBytePredicate isLeadByte) {
  if (!FitsNameLimit(name)) return false;
  for (size_t index = 0; index < name.size(); ++index) {
    const unsigned char byte = static_cast<unsigned char>(name[index]);
    if (isLeadByte != nullptr && isLeadByte(byte)) {
      ++index;  // the trail byte belongs to this character
      continue;
    }
    if (byte == '\\' || byte == '/') return false;
  }
  return true;
}

bool NamesSubkey(std::string_view section) {
  return TextUpToFirstNul(section).find_first_not_of('\\') != std::string_view::npos;
}

std::string SettingsBasePath(std::string_view serviceName) {
  std::string path(kServicesKey);
  path.append(serviceName);
  path.push_back('\\');
  return path;
}

std::string SectionKeyPath(std::string_view basePath, std::string_view section) {
  std::string path(basePath);
  path.append(section);
  path.push_back('\\');
  return path;
}

std::string ServiceImagePath(std::string_view programPath) {
  if (programPath.find(' ') == std::string_view::npos) return std::string(programPath);
  std::string quoted = "\"";
  quoted.append(programPath);
  quoted.push_back('"');
  return quoted;
}

std::string EventSourceKeyPath(std::string_view serviceName) {
  std::string path(kEventSourcesKey);
  path.append(serviceName);
  return path;
}

std::string_view TextUpToFirstNul(std::string_view data) {
  const size_t end = data.find('\0');
  return end == std::string_view::npos ? data : data.substr(0, end);
}

}  // namespace quarent::service
