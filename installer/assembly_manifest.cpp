#include "installer/assembly_manifest.h"

#include "common/automation_types.h"

namespace quarent {
namespace {

// `text` as UTF-8 with the characters XML reserves in attribute values escaped.
std::string Xml(const std::wstring& text) {
  std::wstring escaped;
  for (wchar_t character : text) {
    switch (character) {
      case L'&':
        escaped += L"&amp;";
        break;
      case L'<':
        escaped += L"&lt;";
        break;
      case L'>':
        escaped += L"&gt;";
        break;
      case L'"':
        escaped += L"&quot;";
        break;
      default:
        escaped += character;
    }
  }
  return ToUtf8(escaped);
}

std::string Attribute(const char* name, const std::wstring& value) {
  return std::string(" ") + name + "=\"" + Xml(value) + "\"";
}

// The typelib element's flags attribute: the names of the LIBFLAGS bits set.
std::wstring FlagNames(WORD flags) {
  const struct {
    WORD bit;
    const wchar_t* name;
  } kNames[] = {{LIBFLAG_FRESTRICTED, L"RESTRICTED"},
                {LIBFLAG_FCONTROL, L"CONTROL"},
                {LIBFLAG_FHIDDEN, L"HIDDEN"},
                {LIBFLAG_FHASDISKIMAGE, L"HASDISKIMAGE"}};
  std::wstring names;
  for (const auto& flag : kNames) {
    if ((flags & flag.bit) == 0) continue;
    if (!names.empty()) names += L",";
    names += flag.name;
  }
  return names;
}

// A comClass names the versioned ProgID; the version-independent one is a
// child element, as both are in the registry.
std::string ComClass(const ClassRegistration& registration, const std::wstring& typeLibraryId) {
  std::string element = "    <comClass" + Attribute("clsid", GuidText(*registration.classId)) +
                        Attribute("threadingModel", registration.threadingModel) +
                        Attribute("description", registration.description);
  if (registration.programmable) element += Attribute("tlbid", typeLibraryId);
  if (registration.progId == nullptr) return element + "/>\n";
  element += Attribute("progid", VersionedProgId(registration)) + ">\n";
  element += "      <progid>" + Xml(registration.progId) + "</progid>\n";
  return element + "    </comClass>\n";
}

}  // namespace

std::wstring AssemblyNameOf(const std::wstring& dllName) {
  return L"QUARENT." + dllName.substr(0, dllName.find_last_of(L'.'));
}

const wchar_t* ProcessorArchitectureOf(SYSKIND platform) { return platform == SYS_WIN64 ? L"amd64" : L"x86"; }

std::string AssemblyManifest(const AssemblyIdentity& identity, const std::wstring& dllName,
                             ArrayView<ClassRegistration> classes, const TypeLibraryDescription& library) {
  std::string manifest =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
      "  <assemblyIdentity type=\"win32\"" +
      Attribute("name", identity.name) + Attribute("version", identity.version) +
      Attribute("processorArchitecture", identity.processorArchitecture) + "/>\n";
  manifest += "  <file" + Attribute("name", dllName) + ">\n";
  for (const ClassRegistration& registration : classes) manifest += ComClass(registration, library.id);
  manifest +=
      "    <typelib" + Attribute("tlbid", library.id) +
      Attribute("version", std::to_wstring(library.majorVersion) + L"." + std::to_wstring(library.minorVersion)) +
      Attribute("helpdir", L"") + Attribute("flags", FlagNames(library.flags)) + "/>\n";
  manifest += "  </file>\n";
  for (const AutomationInterface& automation : library.interfaces) {
    manifest += "  <comInterfaceExternalProxyStub" + Attribute("name", automation.name) +
                Attribute("iid", automation.id) + Attribute("proxyStubClsid32", automation.proxyStubClassId) +
                Attribute("tlbid", library.id) + "/>\n";
  }
  return manifest + "</assembly>\n";
}

}  // namespace quarent
