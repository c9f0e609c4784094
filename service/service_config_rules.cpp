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
