#include "registry_tree.h"

#include <algorithm>
#include <cwctype>
#include <vector>

#include "com_client.h"

namespace test {
namespace {

std::wstring Upper(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towupper(c); });
  return text;
}

std::wstring ValueText(DWORD type, const BYTE* data, DWORD size) {
  if (type == REG_SZ || type == REG_EXPAND_SZ) {
    std::wstring text(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    return std::to_wstring(type) + L":" + text;
  }
  std::wstring text = std::to_wstring(type) + L":";
  for (DWORD index = 0; index < size; ++index) {
    wchar_t hex[4];
    wsprintfW(hex, L"%02x", data[index]);
    text += hex;
  }
  return text;
}

void ReadKey(HKEY key, const std::wstring& path, RegistryTree& tree) {
  RegistryValues& values = tree[Upper(path)];
  DWORD longestName = 0;
  DWORD largestData = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName, &largestData,
                   nullptr, nullptr);
  std::vector<wchar_t> name(longestName + 1);
  std::vector<BYTE> data(largestData + sizeof(wchar_t));
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) {
      break;
    }
    values[Upper(std::wstring(name.data(), nameLength))] = ValueText(type, data.data(), size);
  }
  for (DWORD index = 0;; ++index) {
    wchar_t child[256];
    DWORD length = ARRAYSIZE(child);
    if (RegEnumKeyExW(key, index, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY childKey = nullptr;
    if (RegOpenKeyExW(key, child, 0, KEY_READ, &childKey) != ERROR_SUCCESS) continue;
    ReadKey(childKey, path.empty() ? child : path + L"\\" + child, tree);
    RegCloseKey(childKey);
  }
}

bool HasSubkeys(const RegistryTree& tree, const std::wstring& path) {
  const auto next = tree.upper_bound(path);
  return next != tree.end() && next->first.compare(0, path.size() + 1, path + L"\\") == 0;
}

}  // namespace

RegistryTree ReadRegistryTree(HKEY root, const std::wstring& path, REGSAM view) {
  RegistryTree tree;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return tree;
  ReadKey(key, L"", tree);
  RegCloseKey(key);
  tree.erase(L"");
  return tree;
}

RegistryTree Written(const RegistryTree& before, const RegistryTree& after) {
  RegistryTree written;
  for (const auto& [path, values] : after) {
    const auto old = before.find(path);
    const bool changed = old == before.end() ? !values.empty() : old->second != values;
    const bool newLeaf = old == before.end() && values.empty() && !HasSubkeys(after, path);
    if (changed || newLeaf) written[path] = values;
  }
  return written;
}

RegistryTree WithEntries(RegistryTree tree, const std::vector<quarent::RegistryEntry>& entries) {
  for (const quarent::RegistryEntry& entry : entries) {
    const std::wstring path = Upper(entry.key);
    for (size_t separator = path.find(L'\\'); separator != std::wstring::npos;
         separator = path.find(L'\\', separator + 1)) {
      tree[path.substr(0, separator)];
    }
    RegistryValues& values = tree[path];
    if (!entry.keyOnly) values[Upper(entry.name)] = std::to_wstring(REG_SZ) + L":" + entry.data;
  }
  return tree;
}

RegistryTree Without(RegistryTree tree, const std::wstring& prefix) {
  const std::wstring upper = Upper(prefix);
  for (auto at = tree.begin(); at != tree.end();) {
    at = at->first.compare(0, upper.size(), upper) == 0 ? tree.erase(at) : std::next(at);
  }
  return tree;
}

std::string Differences(const RegistryTree& expected, const RegistryTree& actual) {
  std::string lines;
  for (const auto& [path, values] : expected) {
    const auto found = actual.find(path);
    if (found == actual.end()) {
      lines += "missing " + Narrow(path) + "\n";
    } else if (found->second != values) {
      lines += "differs " + Narrow(path) + ":";
      for (const auto& [name, data] : values) lines += " [" + Narrow(name) + "]=" + Narrow(data);
      lines += " but";
      for (const auto& [name, data] : found->second) lines += " [" + Narrow(name) + "]=" + Narrow(data);
      lines += "\n";
    }
  }
  for (const auto& [path, values] : actual) {
    if (expected.count(path) == 0) lines += "unexpected " + Narrow(path) + "\n";
  }
  return lines;
}

}  // namespace test
