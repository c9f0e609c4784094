#pragma once
// A registry subtree read into memory, to compare what two ways of
// registering write, key by key and value by value.
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "common/class_registration.h"

namespace test {

// Key paths below the subtree's root and value names in upper case (the
// registry ignores their case); each value as "<type>:<data>", REG_SZ data as
// text, other types in hexadecimal.
using RegistryValues = std::map<std::wstring, std::wstring>;
using RegistryTree = std::map<std::wstring, RegistryValues>;

// `root\path` and everything under it, in the view `view` (0: this process's
// own); empty when the key is missing.
RegistryTree ReadRegistryTree(HKEY root, const std::wstring& path, REGSAM view = 0);

// What `after` has that `before` has not: every key whose values are new or
// changed (with all its values), and every new key without values or subkeys.
// Keys that only lead to others are left out, so that a container made on the
// way compares equal whoever made it.
RegistryTree Written(const RegistryTree& before, const RegistryTree& after);

// `tree` with `entries` (of a classes root) written into it as REG_SZ values.
RegistryTree WithEntries(RegistryTree tree, const std::vector<quarent::RegistryEntry>& entries);

// `tree` without the keys whose path starts with `prefix` (case ignored).
RegistryTree Without(RegistryTree tree, const std::wstring& prefix);

// One line per key or value that differs ("missing", "unexpected" or
// "differs"), empty when the trees are equal.
std::string Differences(const RegistryTree& expected, const RegistryTree& actual);

}  // namespace test
