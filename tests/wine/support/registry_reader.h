#pragma once
// Reading the registry back in Wine tests.
#include <windows.h>

#include <optional>
#include <string>

namespace test {

// `view` picks a registry view other than the process's own: KEY_WOW64_32KEY
// or KEY_WOW64_64KEY (0 for the process's own).

// The string value `name` (null: the default value) of `root\path`, or
// nothing when the key or value is missing.
std::optional<std::wstring> ReadRegistryString(HKEY root, const std::wstring& path, const wchar_t* name = nullptr,
                                               REGSAM view = 0);

// The type of value `name` of `root\path`, or REG_NONE when missing.
DWORD RegistryValueType(HKEY root, const std::wstring& path, const wchar_t* name, REGSAM view = 0);

bool RegistryKeyExists(HKEY root, const std::wstring& path, REGSAM view = 0);

// The platform subkey under which RegisterTypeLib files this process's type
// libraries (TypeLib\{id}\<version>\<lcid>\<platform>).
#ifdef _WIN64
constexpr wchar_t kTypeLibPlatform[] = L"win64";
#else
constexpr wchar_t kTypeLibPlatform[] = L"win32";
#endif

}  // namespace test
