// Registration-free use: an application whose manifest lists the components'
// assemblies, with each DLL and its assembly manifest in the application's own
// folder, creates every class by class id and by ProgID and calls a member
// through IDispatch, with nothing in the registry.
// The test copies itself into a fresh folder as that application; started
// with --client, it creates the classes and prints one line per creation.
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <objbase.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "com_client.h"
#include "common/com_ptr.h"
#include "installer/assembly_manifest.h"
#include "installer/toolkit_components.h"
#include "processes.h"

namespace {

#ifdef _WIN64
const char kArchitecture[] = "amd64";
#else
const char kArchitecture[] = "x86";
#endif

// What an application's manifest says, written as the README shows it.
std::string ApplicationManifest() {
  std::string manifest =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
      "  <assemblyIdentity type=\"win32\" name=\"Example.Client\" version=\"1.0.0.0\" processorArchitecture=\"" +
      std::string(kArchitecture) + "\"/>\n";
  for (const char* assembly : {"QUARENT.BrnLog", "QUARENT.QRNShrMem", "QUARENT.QRNBC10", "QUARENT.QRNNTSrv"}) {
    manifest += std::string("  <dependency><dependentAssembly><assemblyIdentity type=\"win32\" name=\"") + assembly +
                "\" version=\"1.0.0.0\" processorArchitecture=\"" + kArchitecture +
                "\"/></dependentAssembly></dependency>\n";
  }
  return manifest + "</assembly>\n";
}

// A member each scriptable class answers without arguments beyond these.
struct Member {
  const wchar_t* progId;
  const wchar_t* name;
  WORD flags;
  const wchar_t* argument;  // null: none
};
const Member kMembers[] = {
    {L"BrnLog.Log", L"IsLogWindow", DISPATCH_METHOD, nullptr},
    {L"QUARENT.QRNSharedMemory", L"GenerateSafeName", DISPATCH_METHOD, nullptr},
    {L"QUARENT.QRNBarCode", L"IsStringValid", DISPATCH_METHOD, L"QRN"},
    {L"QUARENT.QRNOrtivo", L"ServiceName", DISPATCH_PROPERTYGET, nullptr},
};

HRESULT CallMember(const wchar_t* progId, IDispatch* object) {
  for (const Member& member : kMembers) {
    if (lstrcmpW(member.progId, progId) != 0) continue;
    test::DispatchResult result;
    if (member.argument) {
      test::CallByName(object, member.name, member.flags, {test::StringArgument(member.argument)}, result);
    } else {
      test::CallByName(object, member.name, member.flags, {}, result);
    }
    return result.status;
  }
  return E_NOTIMPL;
}

// One line per class by class id, and per ProgID with the member's status.
std::string ExpectedLines() {
  std::string lines;
  for (const quarent::ToolkitComponent& component : quarent::ToolkitComponents()) {
    for (const quarent::ClassRegistration& registration : component.registration()) {
      lines += test::Narrow(quarent::GuidText(*registration.classId)) + " created\n";
      if (registration.progId == nullptr) continue;
      for (const std::wstring& progId : {quarent::VersionedProgId(registration), std::wstring(registration.progId)}) {
        lines += test::Narrow(progId) + " created, called\n";
      }
    }
  }
  return lines;
}

int RunClient() {
  _setmode(_fileno(stdout), _O_BINARY);
  test::Apartment apartment;
  for (const quarent::ToolkitComponent& component : quarent::ToolkitComponents()) {
    for (const quarent::ClassRegistration& registration : component.registration()) {
      quarent::ComPtr<IUnknown> object;
      HRESULT status = CoCreateInstance(*registration.classId, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                        reinterpret_cast<void**>(object.Receive()));
      std::printf("%s %s\n", test::Narrow(quarent::GuidText(*registration.classId)).c_str(),
                  SUCCEEDED(status) ? "created" : test::Hex(status).c_str());
      // The service host object allows one instance per process.
      object.Reset();
      if (registration.progId == nullptr) continue;
      for (const std::wstring& progId : {quarent::VersionedProgId(registration), std::wstring(registration.progId)}) {
        CLSID classId = {};
        quarent::ComPtr<IDispatch> dispatch;
        status = CLSIDFromProgID(progId.c_str(), &classId);
        if (SUCCEEDED(status)) {
          status = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                    reinterpret_cast<void**>(dispatch.Receive()));
        }
        const HRESULT called = SUCCEEDED(status) ? CallMember(registration.progId, dispatch.Get()) : E_FAIL;
        std::printf("%s %s, %s\n", test::Narrow(progId).c_str(),
                    SUCCEEDED(status) ? "created" : test::Hex(status).c_str(),
                    SUCCEEDED(called) ? "called" : test::Hex(called).c_str());
      }
    }
  }
  std::fflush(stdout);
  return 0;
}

bool WriteFile(const std::wstring& path, const std::string& text) {
  std::ofstream file(path.c_str(), std::ios::binary);
  file << text;
  return static_cast<bool>(file.flush());
}

TEST(RegistrationFree, ApplicationCreatesEveryClassFromItsOwnFolder) {
  test::Apartment apartment;
  CLSID unused;
  ASSERT_NE(S_OK, CLSIDFromProgID(L"QUARENT.QRNSharedMemory", &unused)) << "the class must not be registered";

  wchar_t temporary[MAX_PATH];
  GetTempPathW(MAX_PATH, temporary);
  const std::wstring folder = std::wstring(temporary) + L"registration-free\\";
  CreateDirectoryW(folder.c_str(), nullptr);
  for (const quarent::ToolkitComponent& component : quarent::ToolkitComponents()) {
    SCOPED_TRACE(test::Narrow(component.dllName));
    const std::wstring dll = folder + component.dllName;
    ASSERT_TRUE(CopyFileW(test::BesideProgram(component.dllName).c_str(), dll.c_str(), FALSE));
    quarent::ComPtr<ITypeLib> library;
    ASSERT_EQ(S_OK, LoadTypeLibEx(dll.c_str(), REGKIND_NONE, library.Receive()));
    quarent::TypeLibraryDescription description;
    ASSERT_EQ(S_OK, quarent::DescribeTypeLibrary(library.Get(), description));
    const quarent::AssemblyIdentity identity = {quarent::AssemblyNameOf(component.dllName), L"1.0.0.0",
                                                quarent::ProcessorArchitectureOf(description.platform)};
    ASSERT_TRUE(
        WriteFile(folder + identity.name + L".manifest",
                  quarent::AssemblyManifest(identity, component.dllName, component.registration(), description)));
  }
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  ASSERT_TRUE(CopyFileW(self, (folder + L"client.exe").c_str(), FALSE));
  ASSERT_TRUE(WriteFile(folder + L"client.exe.manifest", ApplicationManifest()));

  EXPECT_EQ(ExpectedLines(), test::CaptureOutput(L"\"" + folder + L"client.exe\" --client"));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--client") == 0) return RunClient();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
