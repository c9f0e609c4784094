#pragma once
// The side-by-side assembly manifest of a component DLL, through which an
// application uses the DLL's classes from its own folder without any
// registration. Made from the same class descriptions and type library as the
// DLL's registry entries.
#include <windows.h>

#include <string>

#include "common/class_registration.h"
#include "common/type_library_registration.h"

namespace quarent {

// What names the assembly an application's manifest depends on.
struct AssemblyIdentity {
  std::wstring name;                   // "QUARENT.<DLL name without extension>"
  std::wstring version;                // four parts, "1.0.0.0"
  std::wstring processorArchitecture;  // "x86" or "amd64"
};

// The assembly name of the component DLL `dllName` ("QRNShrMem.dll" gives "QUARENT.QRNShrMem").
std::wstring AssemblyNameOf(const std::wstring& dllName);

// "amd64" for a 64-bit type library, "x86" for a 32-bit one.
const wchar_t* ProcessorArchitectureOf(SYSKIND platform);

// The manifest (UTF-8 XML) of the assembly made of the one DLL `dllName`: a
// comClass per class of `classes`, the DLL's type library `library`, and an
// external proxy/stub entry for each of the library's automation interfaces.
std::string AssemblyManifest(const AssemblyIdentity& identity, const std::wstring& dllName,
                             ArrayView<ClassRegistration> classes, const TypeLibraryDescription& library);

}  // namespace quarent
