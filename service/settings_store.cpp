#include "settings_store.h"

#include <windows.h>

#include <new>

#include "common/win_handles.h"
#include "service_config_rules.h"

namespace quarent::service {
namespace {

// Registry keys and values name Windows' "nothing there" in two ways.
bool IsMissing(LONG status) { return status == ERROR_FILE_NOT_FOUND || status == ERROR_PATH_NOT_FOUND; }

// Reads the data of value `name` of `key`; a value that grows between asking
// for its size and reading it is read again.
LONG ReadValueData(HKEY key, const char* name, std::string& data) {
  for (;;) {
    DWORD size = 0;
    LONG status = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size);
    if (status != ERROR_SUCCESS) return status;
    data.assign(size + 1, '\0');
    status = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()), &size);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return status;
    data.resize(size);
    return ERROR_SUCCESS;
  }
}

// Name and data of value `index` of `key`. ERROR_MORE_DATA for a name longer
// than 254 bytes; a value that grows between the two reads is read again.
LONG ReadValueAt(HKEY key, DWORD index, NamedSetting& setting) {
  char name[256];
  for (;;) {
    DWORD nameLength = 255;
    DWORD size = 0;
    // Without a data buffer only the name can be too long.
    LONG status = RegEnumValueA(key, index, name, &nameLength, nullptr, nullptr, nullptr, &size);
    if (status != ERROR_SUCCESS) return status;
    std::string data(size + 1, '\0');
    nameLength = 255;
    status = RegEnumValueA(key, index, name, &nameLength, nullptr, nullptr, reinterpret_cast<BYTE*>(data.data()),
                           &size);
    // The value grew, or another one took its index, since it was sized. The
    // platform leaves the name length as given then, so it cannot tell a long
    // name apart: asking again from the start does.
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) return status;
    data.resize(size);
    setting.first.assign(name, nameLength);
    setting.second.assign(TextUpToFirstNul(data));
    return ERROR_SUCCESS;
  }
}

}  // namespace

SettingsOutcome SaveSettingValue(const std::string& sectionPath, const std::string& key, const std::string& value) {
  RegistryKey section;
  if (RegCreateKeyA(HKEY_LOCAL_MACHINE, sectionPath.c_str(), section.Receive()) != ERROR_SUCCESS) {
    return SettingsOutcome::kCannotOpen;
  }
  const LONG status = RegSetValueExA(section.Get(), key.c_str(), 0, REG_EXPAND_SZ,
                                     reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>(value.size() + 1));
  return status == ERROR_SUCCESS ? SettingsOutcome::kDone : SettingsOutcome::kRefused;
}

SettingsOutcome ReadSettingValue(const std::string& sectionPath, const std::string& key, std::string& value) {
  try {
    RegistryKey section;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, sectionPath.c_str(), section.Receive()) != ERROR_SUCCESS) {
      return SettingsOutcome::kNotFound;
    }
    std::string data;
    if (ReadValueData(section.Get(), key.c_str(), data) != ERROR_SUCCESS) return SettingsOutcome::kNotFound;
    value.assign(TextUpToFirstNul(data));
    return SettingsOutcome::kDone;
  } catch (const std::bad_alloc&) {
    return SettingsOutcome::kOutOfMemory;
  }
}

SettingsOutcome ListSettings(const std::string& sectionPath, std::vector<NamedSetting>& settings) {
  try {
    RegistryKey section;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, sectionPath.c_str(), section.Receive()) != ERROR_SUCCESS) {
      return SettingsOutcome::kCannotOpen;
    }
    settings.clear();
    for (DWORD index = 0;; ++index) {
      NamedSetting setting;
      const LONG status = ReadValueAt(section.Get(), index, setting);
      // The end of the values, or a name longer than 254 bytes, ends the listing.
      if (status == ERROR_NO_MORE_ITEMS || status == ERROR_MORE_DATA) break;
      // Anything else would leave values out unnoticed.
      if (status != ERROR_SUCCESS) return SettingsOutcome::kReadFailed;
      settings.push_back(std::move(setting));
    }
    return SettingsOutcome::kDone;
  } catch (const std::bad_alloc&) {
    return SettingsOutcome::kOutOfMemory;
  }
}

bool KeyOpens(const std::string& path) {
  RegistryKey key;
  return RegOpenKeyA(HKEY_LOCAL_MACHINE, path.c_str(), key.Receive()) == ERROR_SUCCESS;
}

SettingsOutcome DeleteSection(const std::string& servicePath, const std::string& section) {
  RegistryKey service;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, servicePath.c_str(), service.Receive()) != ERROR_SUCCESS) {
    return SettingsOutcome::kCannotOpen;
  }
  // An empty name would make the platform delete the service's own key.
  if (section.empty()) return SettingsOutcome::kDone;
  const LONG status = RegDeleteKeyA(service.Get(), section.c_str());
  return status == ERROR_SUCCESS || IsMissing(status) ? SettingsOutcome::kDone : SettingsOutcome::kRefused;
}

SettingsOutcome DeleteSettingKey(const std::string& servicePath, const std::string& section, const std::string& key) {
  RegistryKey service;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, servicePath.c_str(), service.Receive()) != ERROR_SUCCESS) {
    return SettingsOutcome::kCannotOpen;
  }
  RegistryKey sectionKey;
  if (RegOpenKeyA(service.Get(), section.c_str(), sectionKey.Receive()) != ERROR_SUCCESS) {
    return SettingsOutcome::kCannotOpen;
  }
  // The setting itself is a value; earlier versions removed a subkey of the
  // same name, which callers may still count on.
  const LONG valueStatus = RegDeleteValueA(sectionKey.Get(), key.c_str());
  // An empty name would make the platform delete the section key itself.
  const LONG keyStatus = key.empty() ? ERROR_FILE_NOT_FOUND : RegDeleteKeyA(sectionKey.Get(), key.c_str());
  const bool valueGone = valueStatus == ERROR_SUCCESS || IsMissing(valueStatus);
  const bool keyGone = keyStatus == ERROR_SUCCESS || IsMissing(keyStatus);
  return valueGone && keyGone ? SettingsOutcome::kDone : SettingsOutcome::kRefused;
}

}  // namespace quarent::service
