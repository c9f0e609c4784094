#include "common/type_library_registration.h"

#include <oleauto.h>

#include "common/automation_types.h"

namespace quarent {
namespace {

std::wstring Hex(unsigned value) {
  wchar_t text[16];
  wsprintfW(text, L"%x", value);
  return text;
}

// The interface `library` lists at `index`, if RegisterTypeLib registers it.
HRESULT ReadInterface(ITypeLib* library, UINT index, std::vector<AutomationInterface>& interfaces) {
  ITypeInfo* info = nullptr;
  HRESULT status = library->GetTypeInfo(index, &info);
  if (FAILED(status)) return status;
  TYPEATTR* attributes = nullptr;
  status = info->GetTypeAttr(&attributes);
  if (SUCCEEDED(status)) {
    const bool automation =
        attributes->typekind == TKIND_DISPATCH ||
        (attributes->typekind == TKIND_INTERFACE && (attributes->wTypeFlags & TYPEFLAG_FOLEAUTOMATION) != 0);
    if (automation) {
      Bstr name;
      status = library->GetDocumentation(index, name.Receive(), nullptr, nullptr, nullptr);
      const bool throughTypeLibrary =
          attributes->typekind == TKIND_INTERFACE || (attributes->wTypeFlags & TYPEFLAG_FDUAL) != 0;
      if (SUCCEEDED(status)) {
        interfaces.push_back({GuidText(attributes->guid), name.Get() ? name.Get() : L"",
                              throughTypeLibrary ? kTypeLibraryMarshaler : kDispatchMarshaler});
      }
    }
    info->ReleaseTypeAttr(attributes);
  }
  info->Release();
  return status;
}

}  // namespace

std::wstring RegistryVersionOf(const TypeLibraryDescription& description) {
  return Hex(description.majorVersion) + L"." + Hex(description.minorVersion);
}

const wchar_t* TypeLibraryPlatformName(SYSKIND platform) { return platform == SYS_WIN64 ? L"win64" : L"win32"; }

HRESULT DescribeTypeLibrary(ITypeLib* library, TypeLibraryDescription& description) {
  TLIBATTR* attributes = nullptr;
  HRESULT status = library->GetLibAttr(&attributes);
  if (FAILED(status)) return status;
  description.id = GuidText(attributes->guid);
  description.majorVersion = attributes->wMajorVerNum;
  description.minorVersion = attributes->wMinorVerNum;
  description.locale = attributes->lcid;
  description.platform = attributes->syskind;
  description.flags = attributes->wLibFlags;
  library->ReleaseTLibAttr(attributes);

  Bstr name;
  Bstr help;
  status = library->GetDocumentation(-1, name.Receive(), help.Receive(), nullptr, nullptr);
  if (FAILED(status)) return status;
  description.title = help.Length() > 0 ? help.Get() : (name.Get() ? name.Get() : L"");

  description.interfaces.clear();
  const UINT count = library->GetTypeInfoCount();
  for (UINT index = 0; index < count; ++index) {
    status = ReadInterface(library, index, description.interfaces);
    if (FAILED(status)) return status;
  }
  return S_OK;
}

HRESULT TypeLibraryEntriesOf(ITypeLib* library, const std::wstring& modulePath, const std::wstring& helpFolder,
                             TypeLibraryEntries& entries) {
  TypeLibraryDescription description;
  const HRESULT status = DescribeTypeLibrary(library, description);
  if (FAILED(status)) return status;

  entries.libraryId = description.id;
  const std::wstring versionKey = L"TypeLib\\" + description.id + L"\\" + RegistryVersionOf(description);
  entries.shared = {
      {versionKey, L"", description.title},
      {versionKey + L"\\FLAGS", L"", std::to_wstring(description.flags)},
      {versionKey + L"\\HELPDIR", L"", helpFolder},
  };
  entries.platform = {
      {versionKey + L"\\" + Hex(description.locale) + L"\\" + TypeLibraryPlatformName(description.platform), L"",
       modulePath},
  };
  entries.interfaces.clear();
  for (const AutomationInterface& automation : description.interfaces) {
    const std::wstring key = L"Interface\\" + automation.id;
    entries.interfaces.push_back({key, L"", automation.name});
    entries.interfaces.push_back({key + L"\\ProxyStubClsid", L"", automation.proxyStubClassId});
    entries.interfaces.push_back({key + L"\\ProxyStubClsid32", L"", automation.proxyStubClassId});
    entries.interfaces.push_back({key + L"\\TypeLib", L"", description.id});
    entries.interfaces.push_back({key + L"\\TypeLib", L"Version", RegistryVersionOf(description)});
  }
  return S_OK;
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t separator = path.find_last_of(L"\\/");
  return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

}  // namespace quarent
