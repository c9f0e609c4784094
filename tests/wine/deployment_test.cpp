// What a user deploys: each component DLL in the install tree's folder of this
// build's architecture (<dist>/<Component>/<x86|x64>/) is a PE file of that
// architecture, imports only system DLLs, exports the four entry points and
// DllInstall undecorated, and carries a version resource and its type library.
// Arguments: the install tree (a Unix path), the architecture, the DLL names.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "com_client.h"

namespace {

std::wstring distFolder;
std::string architecture;
std::vector<std::wstring> dllNames;

// A PE file's machine type and the names of the DLLs it imports, read from its
// headers and import directory (PE32 and PE32+ alike).
struct PeImage {
  WORD machine = 0;
  std::vector<std::string> imports;
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(tolower(c)); });
  return text;
}

template <class NtHeaders>
std::vector<std::string> ImportedDlls(const std::vector<char>& bytes, const NtHeaders* nt) {
  std::vector<std::string> names;
  const auto* sections = IMAGE_FIRST_SECTION(nt);
  auto offsetOf = [&](DWORD rva) -> size_t {
    for (WORD index = 0; index < nt->FileHeader.NumberOfSections; ++index) {
      const IMAGE_SECTION_HEADER& section = sections[index];
      if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.Misc.VirtualSize) {
        return rva - section.VirtualAddress + section.PointerToRawData;
      }
    }
    return 0;
  };
  const DWORD importRva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (size_t at = offsetOf(importRva); at != 0 && at + sizeof(IMAGE_IMPORT_DESCRIPTOR) <= bytes.size();
       at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(bytes.data() + at);
    if (descriptor->Name == 0) break;
    names.emplace_back(bytes.data() + offsetOf(descriptor->Name));
  }
  return names;
}

PeImage ReadPeImage(const std::wstring& path) {
  std::ifstream file(path.c_str(), std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  PeImage image;
  if (bytes.size() < sizeof(IMAGE_DOS_HEADER)) return image;
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(bytes.data());
  if (static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS64) > bytes.size()) return image;
  const char* headers = bytes.data() + dos->e_lfanew;
  const auto* nt32 = reinterpret_cast<const IMAGE_NT_HEADERS32*>(headers);
  image.machine = nt32->FileHeader.Machine;
  if (nt32->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
    image.imports = ImportedDlls(bytes, reinterpret_cast<const IMAGE_NT_HEADERS64*>(headers));
  } else {
    image.imports = ImportedDlls(bytes, nt32);
  }
  return image;
}

TEST(Deployment, EveryDllLoadsOnACleanSystem) {
  ASSERT_FALSE(dllNames.empty());
  const std::set<std::string> systemDlls = {"kernel32.dll", "user32.dll",   "gdi32.dll",    "advapi32.dll",
                                            "ole32.dll",    "oleaut32.dll", "msvcrt.dll",   "version.dll",
                                            "comctl32.dll", "comdlg32.dll", "shell32.dll",  "olepro32.dll"};
  for (const std::wstring& name : dllNames) {
    SCOPED_TRACE(test::Narrow(name));
    const std::wstring component = name.substr(0, name.find(L'.'));
    const std::wstring path = distFolder + L"\\" + component + L"\\" +
                              std::wstring(architecture.begin(), architecture.end()) + L"\\" + name;

    const PeImage image = ReadPeImage(path);
    EXPECT_EQ(architecture == "x64" ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386, image.machine);
    EXPECT_FALSE(image.imports.empty());
    for (const std::string& imported : image.imports) {
      EXPECT_TRUE(systemDlls.count(Lower(imported))) << "imports " << imported;
    }

    HMODULE module = LoadLibraryW(path.c_str());
    ASSERT_NE(nullptr, module);
    for (const char* entry :
         {"DllGetClassObject", "DllCanUnloadNow", "DllRegisterServer", "DllUnregisterServer", "DllInstall"}) {
      EXPECT_NE(nullptr, reinterpret_cast<void*>(GetProcAddress(module, entry))) << entry;
    }
    EXPECT_NE(nullptr, FindResourceW(module, MAKEINTRESOURCEW(1), L"TYPELIB"));

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length));
    EXPECT_EQ(VS_FFI_SIGNATURE, info->dwSignature);
    EXPECT_NE(0u, info->dwFileVersionMS | info->dwFileVersionLS);
    FreeLibrary(module);
  }
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 3) return 2;
  // The install tree is reached through Wine's Z: drive.
  std::string folder = std::string("Z:") + argv[1];
  std::replace(folder.begin(), folder.end(), '/', '\\');
  distFolder.assign(folder.begin(), folder.end());
  architecture = argv[2];
  for (int index = 3; index < argc; ++index) {
    dllNames.emplace_back(argv[index], argv[index] + std::strlen(argv[index]));
  }
  return RUN_ALL_TESTS();
}
