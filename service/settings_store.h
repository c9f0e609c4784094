#pragma once
// Named string settings of a service under HKEY_LOCAL_MACHINE: a section is a
// key below the settings base path, a setting a REG_EXPAND_SZ value in it.
// Texts are ANSI; every call opens and closes its own keys.
#include <string>
#include <utility>
#include <vector>

namespace quarent::service {

enum class SettingsOutcome {
  kDone,
  kNotFound,      // the section or the setting does not exist
  kCannotOpen,    // a key could not be opened or created
  kRefused,       // the registry refused a write or a deletion
  kReadFailed,    // the registry failed while the values of a section were read
  kOutOfMemory,
};

using NamedSetting = std::pair<std::string, std::string>;

// Writes `value` (with its terminating NUL) as setting `key` of `sectionPath`,
// creating the section key and any missing keys on its path.
SettingsOutcome SaveSettingValue(const std::string& sectionPath, const std::string& key, const std::string& value);

// Reads setting `key` of `sectionPath` as text up to its first NUL.
SettingsOutcome ReadSettingValue(const std::string& sectionPath, const std::string& key, std::string& value);

// Lists the settings of `sectionPath` in the registry's enumeration order,
// stopping at the first value whose name is longer than 254 bytes; any other
// failure of the enumeration gives kReadFailed, never a shorter list.
SettingsOutcome ListSettings(const std::string& sectionPath, std::vector<NamedSetting>& settings);

// True when the key `path` below HKEY_LOCAL_MACHINE exists and can be opened.
bool KeyOpens(const std::string& path);

// Deletes the key `section` of the service key `servicePath`. A section that
// does not exist, or an empty name, counts as deleted; kCannotOpen when the service key is missing.
SettingsOutcome DeleteSection(const std::string& servicePath, const std::string& section);

// Deletes both the value `key` of section `section` and a subkey of that name
// (no subkey for an empty name).
// Nothing to delete counts as deleted; kCannotOpen when the section is missing.
SettingsOutcome DeleteSettingKey(const std::string& servicePath, const std::string& section, const std::string& key);

}  // namespace quarent::service
