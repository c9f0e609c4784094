#include "common/class_registration.h"

#include <objbase.h>

namespace quarent {
namespace {

std::wstring ExpandModulePath(const wchar_t* data, const std::wstring& modulePath) {
  std::wstring text = data;
  const std::wstring placeholder = L"%MODULE%";
  for (size_t at = text.find(placeholder); at != std::wstring::npos; at = text.find(placeholder, at)) {
    text.replace(at, placeholder.size(), modulePath);
    at += modulePath.size();
  }
  return text;
}

}  // namespace

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40];
  const int length = StringFromGUID2(guid, text, ARRAYSIZE(text));
  return length > 0 ? std::wstring(text, length - 1) : std::wstring();
}

std::wstring VersionedProgId(const ClassRegistration& registration) {
  if (registration.progId == nullptr) return {};
  return std::wstring(registration.progId) + L"." + std::to_wstring(registration.progIdVersion);
}

std::wstring ClassKey(const ClassRegistration& registration) { return L"CLSID\\" + GuidText(*registration.classId); }

std::vector<RegistryEntry> RegistryEntriesOf(const ClassRegistration& registration, const std::wstring& modulePath,
                                             const std::wstring& typeLibraryId) {
  const std::wstring classId = GuidText(*registration.classId);
  const std::wstring classKey = ClassKey(registration);
  const std::wstring description = registration.description;
  std::vector<RegistryEntry> entries;
  auto value = [&](const std::wstring& key, const std::wstring& name, const std::wstring& data) {
    entries.push_back({key, name, data});
  };

  if (registration.progId != nullptr) {
    const std::wstring versioned = VersionedProgId(registration);
    const std::wstring independent = registration.progId;
    value(versioned, L"", description);
    value(versioned + L"\\CLSID", L"", classId);
    value(independent, L"", description);
    value(independent + L"\\CLSID", L"", classId);
    value(independent + L"\\CurVer", L"", versioned);
    value(classKey, L"", description);
    value(classKey + L"\\ProgID", L"", versioned);
    value(classKey + L"\\VersionIndependentProgID", L"", independent);
  } else {
    value(classKey, L"", description);
  }
  if (registration.programmable) entries.push_back({classKey + L"\\Programmable", L"", L"", true});
  value(classKey + L"\\InprocServer32", L"", modulePath);
  value(classKey + L"\\InprocServer32", L"ThreadingModel", registration.threadingModel);
  if (registration.programmable) value(classKey + L"\\TypeLib", L"", typeLibraryId);

  for (const ClassValue& extra : registration.extraValues) {
    const std::wstring key = *extra.subkey ? classKey + L"\\" + extra.subkey : classKey;
    const std::wstring name = extra.name ? extra.name : L"";
    if (extra.data == nullptr) {
      entries.push_back({key, name, L"", true});
    } else {
      value(key, name, ExpandModulePath(extra.data, modulePath));
    }
  }
  return entries;
}

std::vector<std::wstring> OwnedKeysOf(const ClassRegistration& registration) {
  std::vector<std::wstring> keys;
  if (registration.progId != nullptr) {
    keys.push_back(VersionedProgId(registration));
    keys.push_back(registration.progId);
  }
  keys.push_back(ClassKey(registration));
  return keys;
}

}  // namespace quarent
