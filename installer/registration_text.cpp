// Prints a component's registration as text, for the installer packages and
// for anyone who wants to see what registering a DLL writes:
//
//   registration_text rows <DLL name> <module path> <help folder> <type library file> <all|own>
//     One line per registry entry under the classes root, tab-separated:
//     "value<TAB>key<TAB>name<TAB>data" (name empty for the default value) or
//     "key<TAB>key" for a key made without a value. `all` is what registering
//     the DLL writes; `own` leaves out the type library's version key values
//     (its title, FLAGS, HELPDIR), which the other architecture's module of a
//     package writes. The module path and help folder are written as given, so
//     they may be installer expressions.
//
//   registration_text manifests <version> <output folder> <type library file>...
//     Writes the side-by-side assembly manifest of the DLL of each type library
//     (<Component>.tlb for <Component>.dll) to
//     <output folder>\<x86|x64>\QUARENT.<Component>.manifest.
//
// Exit code 0 on success, 1 on bad arguments, 2 when a type library cannot be read.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <oleauto.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "common/automation_types.h"
#include "common/com_ptr.h"
#include "common/type_library_registration.h"
#include "installer/assembly_manifest.h"
#include "installer/toolkit_components.h"

using namespace quarent;

namespace {

bool LoadLibraryFile(const std::wstring& path, ComPtr<ITypeLib>& library) {
  if (SUCCEEDED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Receive()))) return true;
  std::fprintf(stderr, "cannot read the type library %s\n", ToUtf8(path).c_str());
  return false;
}

void PrintRows(const std::vector<RegistryEntry>& entries) {
  for (const RegistryEntry& entry : entries) {
    if (entry.keyOnly) {
      std::printf("key\t%s\n", ToUtf8(entry.key).c_str());
    } else {
      std::printf("value\t%s\t%s\t%s\n", ToUtf8(entry.key).c_str(), ToUtf8(entry.name).c_str(),
                  ToUtf8(entry.data).c_str());
    }
  }
}

int PrintRegistryRows(char** arguments) {
  const ToolkitComponent* component = FindToolkitComponent(AnsiToWide(arguments[0]));
  const std::wstring modulePath = AnsiToWide(arguments[1]);
  const std::wstring helpFolder = AnsiToWide(arguments[2]);
  const std::string part = arguments[4];
  if (component == nullptr || (part != "all" && part != "own")) {
    std::fprintf(stderr, "unknown component %s or part %s\n", arguments[0], arguments[4]);
    return 1;
  }
  ComPtr<ITypeLib> library;
  if (!LoadLibraryFile(AnsiToWide(arguments[3]), library)) return 2;
  TypeLibraryEntries typeLibrary;
  if (FAILED(TypeLibraryEntriesOf(library.Get(), modulePath, helpFolder, typeLibrary))) return 2;

  for (const ClassRegistration& registration : component->registration()) {
    PrintRows(RegistryEntriesOf(registration, modulePath, typeLibrary.libraryId));
  }
  if (part == "all") PrintRows(typeLibrary.shared);
  PrintRows(typeLibrary.platform);
  PrintRows(typeLibrary.interfaces);
  return 0;
}

// "1.0" gives "1.0.0.0": an assembly version has four parts.
std::wstring FourPartVersion(std::wstring version) {
  size_t parts = 1;
  for (wchar_t character : version) parts += character == L'.';
  for (; parts < 4; ++parts) version += L".0";
  return version;
}

int WriteManifests(int count, char** arguments) {
  const std::wstring version = FourPartVersion(AnsiToWide(arguments[0]));
  const std::wstring outputFolder = AnsiToWide(arguments[1]);
  for (int index = 2; index < count; ++index) {
    const std::wstring libraryPath = AnsiToWide(arguments[index]);
    const size_t nameStart = libraryPath.find_last_of(L"\\/") + 1;
    const std::wstring dllName = libraryPath.substr(nameStart, libraryPath.find_last_of(L'.') - nameStart) + L".dll";
    const ToolkitComponent* component = FindToolkitComponent(dllName);
    if (component == nullptr) {
      std::fprintf(stderr, "no component has the type library %s\n", arguments[index]);
      return 1;
    }
    ComPtr<ITypeLib> library;
    if (!LoadLibraryFile(libraryPath, library)) return 2;
    TypeLibraryDescription description;
    if (FAILED(DescribeTypeLibrary(library.Get(), description))) return 2;

    const AssemblyIdentity identity = {AssemblyNameOf(dllName), version, ProcessorArchitectureOf(description.platform)};
    const std::wstring folder = outputFolder + (description.platform == SYS_WIN64 ? L"\\x64" : L"\\x86");
    CreateDirectoryW(outputFolder.c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring path = folder + L"\\" + identity.name + L".manifest";
    std::ofstream file(path.c_str(), std::ios::binary);
    file << AssemblyManifest(identity, dllName, component->registration(), description);
    if (!file.flush()) {
      std::fprintf(stderr, "cannot write %s\n", ToUtf8(path).c_str());
      return 2;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "rows" && argc == 7) return PrintRegistryRows(argv + 2);
  if (command == "manifests" && argc >= 5) return WriteManifests(argc - 2, argv + 2);
  std::fprintf(stderr,
               "usage: registration_text rows <DLL name> <module path> <help folder> <type library file> <all|own>\n"
               "       registration_text manifests <version> <output folder> <type library file>...\n");
  return 1;
}
