// Self-registration of QRNShrMem.dll through regsvr32, read back from the registry.
#include <gtest/gtest.h>

#include <string>

#include "com_client.h"
#include "processes.h"
#include "qrnshrmem_registration.h"
#include "registration_check.h"
#include "registry_reader.h"

namespace {

const std::wstring kClassKey = L"CLSID\\{2A7F93D0-5E18-4B6D-A04C-9F3E6D21B857}";
const std::wstring kTypeLibKey = L"TypeLib\\{2A7F93C3-5E18-4B6D-A04C-9F3E6D21B857}";

TEST(SharedMemoryRegistration, WritesExactlyTheListedEntriesAndRemovesThem) {
  ASSERT_EQ(0, test::RegisterServer(L"QRNShrMem.dll"));
  const std::wstring modulePath = test::BesideProgram(L"QRNShrMem.dll");
  test::ExpectRegistered(quarent::RegistrationOfQRNShrMem(), modulePath);

  // What a user reads, written out by hand.
  EXPECT_EQ("QUARENT SharedMemory Object",
            test::Narrow(test::ReadRegistryString(HKEY_CLASSES_ROOT, L"QUARENT.QRNSharedMemory.1").value_or(L"")));
  EXPECT_EQ("{2A7F93D0-5E18-4B6D-A04C-9F3E6D21B857}",
            test::Narrow(test::ReadRegistryString(HKEY_CLASSES_ROOT, L"QUARENT.QRNSharedMemory\\CLSID").value_or(L"")));
  EXPECT_EQ("Both", test::Narrow(test::ReadRegistryString(HKEY_CLASSES_ROOT, kClassKey + L"\\InprocServer32",
                                                          L"ThreadingModel").value_or(L"")));
  EXPECT_EQ("{2A7F93C3-5E18-4B6D-A04C-9F3E6D21B857}",
            test::Narrow(test::ReadRegistryString(HKEY_CLASSES_ROOT, kClassKey + L"\\TypeLib").value_or(L"")));
  // The type library is registered with its version, locale and help string.
  EXPECT_EQ("QUARENT SharedMemory 1.0 Type Library",
            test::Narrow(test::ReadRegistryString(HKEY_CLASSES_ROOT, kTypeLibKey + L"\\1.0").value_or(L"")));
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_CLASSES_ROOT, kTypeLibKey + L"\\1.0\\409\\" + test::kTypeLibPlatform));

  ASSERT_EQ(0, test::RegisterServer(L"QRNShrMem.dll", /*unregister=*/true));
  test::ExpectUnregistered(quarent::RegistrationOfQRNShrMem(), modulePath);
  EXPECT_FALSE(test::RegistryKeyExists(HKEY_CLASSES_ROOT, kTypeLibKey));
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
