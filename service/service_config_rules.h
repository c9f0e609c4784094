#pragma once
// Rules of the service object's configuration and the registry paths derived
// from it. Portable: texts are bytes in the system ANSI code page, and the
// caller says which bytes lead a double-byte character.
#include <cstddef>
#include <string>
#include <string_view>

namespace quarent::service {

// Longest ServiceName, Section or Key, in bytes of the ANSI text.
inline constexpr size_t kMaxNameBytes = 64;
// DisplayName must be shorter than this, in characters.
inline constexpr size_t kDisplayNameLimit = 256;

// Key of all services, below HKEY_LOCAL_MACHINE, ending in a backslash.
inline constexpr std::string_view kServicesKey = "SYSTEM\\CurrentControlSet\\Services\\";
// Key of the application log's event sources, below HKEY_LOCAL_MACHINE.
inline constexpr std::string_view kEventSourcesKey = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\";

// True when `byte` is the first byte of a double-byte character of the code page.
using LeadBytePredicate = bool (*)(unsigned char byte);

// True when `name` may be a ServiceName: at most 64 bytes and no backslash or
// slash as a character of its own (a trail byte that happens to be 0x5C is not one).
bool IsValidServiceName(std::string_view name, LeadBytePredicate isLeadByte);

// True when `text` fits the 64-byte limit of a ServiceName, Section or Key.
inline bool FitsNameLimit(std::string_view text) { return text.size() <= kMaxNameBytes; }

// True when `section` names a key below the service's key: one that is empty
// or only backslashes, up to its first NUL (where the registry stops reading),
// would name the service's own key.
bool NamesSubkey(std::string_view section);

// True when `section` may be used as a Section: it fits the name limit and
// names a key below the service's key.
inline bool IsValidSection(std::string_view section) { return FitsNameLimit(section) && NamesSubkey(section); }

// True when a DisplayName of `characters` characters is accepted.
inline bool IsValidDisplayNameLength(size_t characters) { return characters < kDisplayNameLimit; }

// "SYSTEM\CurrentControlSet\Services\<name>\": the key that holds the
// service's settings sections; at most 99 characters for a valid name.
std::string SettingsBasePath(std::string_view serviceName);

// The settings base path followed by `section` and a backslash. Backslashes in
// `section` name nested keys.
std::string SectionKeyPath(std::string_view basePath, std::string_view section);

// The ImagePath the service is installed with for the program `programPath`:
// quoted when it holds a space, so that the service control manager never
// reads a prefix of it ("C:\Program.exe") as the program.
std::string ServiceImagePath(std::string_view programPath);

// "SYSTEM\...\EventLog\Application\<name>": the service's event source key.
std::string EventSourceKeyPath(std::string_view serviceName);

// `data` up to its first NUL byte (all of it when there is none).
std::string_view TextUpToFirstNul(std::string_view data);

}  // namespace quarent::service
