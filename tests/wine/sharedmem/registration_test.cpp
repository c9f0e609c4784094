// Self-registration of QRNShrMem.dll through regsvr32, read back from the registry.
#include <gtest/gtest.h>

#include <string>

#include "com_client.h"
#include "processes.h"
#include "registry_reader.h"

namespace {

const std::wstring kClassKey = L"CLSID\\{2A7F93D0-5E18-4B6D-A04C-9F3E6D21B857}";
const std::wstring kTypeLibKey = L"TypeLib\\{2A7F93C3-5E18-4B6D-A04C-9F3E6D21B857}";

struct Entry {
  std::wstring key;
  const wchar_t* name;
  std::wstring data;
};

TEST(SharedMemoryRegistration, WritesExactlyTheListedEntriesAndRemovesThem) {
  ASSERT_EQ(0, test::RegisterServer(L"QRNShrMem.dll"));

  const std::wstring modulePath = test::BesideProgram(L"QRNShrMem.dll");
  const Entry entries[] = {
      {L"QUARENT.QRNSharedMemory.1", nullptr, L"QUARENT SharedMemory Object"},
      {L"QUARENT.QRNSharedMemory.1\\CLSID", nullptr, L"{2A7F93D0-5E18-4B6D-A04C-9F3E6D21B857}"},
      {L"QUARENT.QRNSharedMemory", nullptr, L"QUARENT SharedMemory Object"},
      {L"QUARENT.QRNSharedMemory\\CLSID", nullptr, L"{2A7F93D0-5E18-4B6D-A04C-9F3E6D21B857}"},
      {L"QUARENT.QRNSharedMemory\\CurVer", nullptr, L"QUARENT.QRNSharedMemory.1"},
      {kClassKey, nullptr, L"QUARENT SharedMemory Object"},
      {kClassKey + L"\\ProgID", nullptr, L"QUARENT.QRNSharedMemory.1"},
      {kClassKey + L"\\VersionIndependentProgID", nullptr, L"QUARENT.QRNSharedMemory"},
      {kClassKey + L"\\InprocServer32", L"ThreadingModel", L"Both"},
      {kClassKey + L"\\TypeLib", nullptr, L"{2A7F93C3-5E18-4B6D-A04C-9F3E6D21B857}"},
  };
  for (const Entry& entry : entries) {
    SCOPED_TRACE(test::Narrow(entry.key));
    const auto value = test::ReadRegistryString(HKEY_CLASSES_ROOT, entry.key, entry.name);
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(test::Narrow(entry.data), test::Narrow(*value));
  }
  const auto server = test::ReadRegistryString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32");
  ASSERT_TRUE(server.has_value());
  EXPECT_EQ(0, lstrcmpiW(modulePath.c_str(), server->c_str())) << test::Narrow(*server);
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_CLASSES_ROOT, kClassKey + L"\\Programmable"));

  // The type library is registered with its version, locale and help string.
  EXPECT_EQ("QUARENT SharedMemory 1.0 Type Library",
            test::Narrow(test::ReadRegistryString(HKEY_CLASSES_ROOT, kTypeLibKey + L"\\1.0").value_or(L"")));
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_CLASSES_ROOT, kTypeLibKey + L"\\1.0\\409\\" + test::kTypeLibPlatform));

  ASSERT_EQ(0, test::RegisterServer(L"QRNShrMem.dll", /*unregister=*/true));
  for (const std::wstring& key : {std::wstring(L"QUARENT.QRNSharedMemory.1"), std::wstring(L"QUARENT.QRNSharedMemory"),
                                  kClassKey, kTypeLibKey}) {
    EXPECT_FALSE(test::RegistryKeyExists(HKEY_CLASSES_ROOT, key)) << test::Narrow(key);
  }
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_CLASSES_ROOT, L"CLSID"));

  // Registering again after removal restores the class.
  ASSERT_EQ(0, test::RegisterServer(L"QRNShrMem.dll"));
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32"));
}

TEST(SharedMemoryRegistration, ScriptOfRegistryEntriesIsVisibleToRegExe) {
  ASSERT_EQ(0, test::RegisterServer(L"QRNShrMem.dll"));
  const std::string output =
      test::CaptureOutput(L"reg.exe query HKCR\\CLSID\\{2A7F93D0-5E18-4B6D-A04C-9F3E6D21B857}\\InprocServer32");
  EXPECT_NE(std::string::npos, output.find("ThreadingModel")) << output;
  EXPECT_NE(std::string::npos, output.find("Both")) << output;
}

}  // namespace
