// Settings of QUARENT.QRNOrtivo against the real registry of the test's prefix.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "com_client.h"
#include "import_hook.h"
#include "ortivo_client.h"
#include "processes.h"
#include "registry_reader.h"

namespace {

using test::ComPtr;
using test::Hex;
using test::TakeString;
using test::Text;

const std::wstring kServicesKey = L"SYSTEM\\CurrentControlSet\\Services\\";

VARIANT Omitted() {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_ERROR;
  value.scode = DISP_E_PARAMNOTFOUND;
  return value;
}

VARIANT LongValue(long number) { return test::LongArgument(number); }

// The raw bytes of value `name` of HKLM\`path`, with its type.
std::string RawValue(const std::wstring& path, const wchar_t* name, DWORD* type) {
  HKEY key = nullptr;
  std::string data;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return data;
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, type, nullptr, &size) == ERROR_SUCCESS) {
    data.resize(size);
    RegQueryValueExW(key, name, nullptr, type, reinterpret_cast<BYTE*>(data.data()), &size);
  }
  RegCloseKey(key);
  return data;
}

void WriteRegistryValue(const std::wstring& path, const wchar_t* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
  if (name != nullptr) RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

// The value names of HKLM\`path` in the registry's enumeration order.
std::vector<std::wstring> EnumeratedNames(const std::wstring& path) {
  std::vector<std::wstring> names;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return names;
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = 256;
    if (RegEnumValueW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  RegCloseKey(key);
  return names;
}

class ServiceSettingsTest : public test::OrtivoTest {
 protected:
  void SetUp() override {
    OrtivoTest::SetUp();
    if (HasFatalFailure()) return;
    UseServiceName(L"QuarentSettings");
  }

  HRESULT Save(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    return ortivo->SaveSetting(Text(section), Text(key), Text(value));
  }

  // GetSetting's status, and its text in `value`.
  HRESULT Read(const std::wstring& section, const std::wstring& key, VARIANT fallback, std::wstring* value) {
    BSTR result = nullptr;
    const HRESULT status = ortivo->GetSetting(Text(section), Text(key), fallback, &result);
    VariantClear(&fallback);
    *value = TakeString(result);
    return status;
  }

  HRESULT Delete(const std::wstring& section, VARIANT key) {
    const HRESULT status = ortivo->DeleteSetting(Text(section), key);
    VariantClear(&key);
    return status;
  }
};

TEST_F(ServiceSettingsTest, SavedSettingIsAnExpandStringBelowTheServiceKey) {
  ASSERT_EQ(Save(L"Options", L"Color", L"%SystemRoot%\\blue"), S_OK);
  const std::wstring section = kServicesKey + L"QuarentSettings\\Options";
  DWORD type = 0;
  const std::string raw = RawValue(section, L"Color", &type);
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
  // Read back through the wide API: the text, with its terminating NUL stored.
  EXPECT_EQ(raw.size(), (std::wstring(L"%SystemRoot%\\blue").size() + 1) * sizeof(wchar_t));
  EXPECT_EQ(test::ReadRegistryString(HKEY_LOCAL_MACHINE, section, L"Color").value_or(L"?"), L"%SystemRoot%\\blue");

  std::wstring value;
  EXPECT_EQ(Read(L"Options", L"Color", Omitted(), &value), S_OK);
  EXPECT_EQ(value, L"%SystemRoot%\\blue") << "references are not expanded";

  const std::string listing =
      test::CaptureOutput(L"reg.exe query \"HKLM\\SYSTEM\\CurrentControlSet\\Services\\QuarentSettings\\Options\"");
  EXPECT_NE(listing.find("Color"), std::string::npos) << listing;
  EXPECT_NE(listing.find("REG_EXPAND_SZ"), std::string::npos) << listing;
  EXPECT_NE(listing.find("%SystemRoot%\\blue"), std::string::npos) << listing;
}

TEST_F(ServiceSettingsTest, EmptyValueIsOneNulByte) {
  ASSERT_EQ(Save(L"Options", L"Empty", L""), S_OK);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Services\\QuarentSettings\\Options", 0,
                          KEY_READ, &key), 0);
  DWORD size = 99;
  EXPECT_EQ(RegQueryValueExA(key, "Empty", nullptr, nullptr, nullptr, &size), 0);
  EXPECT_EQ(size, 1u);
  RegCloseKey(key);
  std::wstring value = L"?";
  EXPECT_EQ(Read(L"Options", L"Empty", test::StringArgument(L"fallback"), &value), S_OK);
  EXPECT_EQ(value, L"");
}

TEST_F(ServiceSettingsTest, DefaultOfAMissingSetting) {
  ASSERT_EQ(Save(L"Options", L"Present", L"stored"), S_OK);
  VARIANT byReferenceString;
  VariantInit(&byReferenceString);
  BSTR referenced = SysAllocString(L"from a script variable");
  byReferenceString.vt = VT_BSTR | VT_BYREF;
  byReferenceString.pbstrVal = &referenced;
  struct Case {
    const char* note;
    const wchar_t* section;
    const wchar_t* key;
    VARIANT fallback;
    HRESULT status;
    std::wstring value;
  };
  const Case cases[] = {
      {"missing value, string default", L"Options", L"Absent", test::StringArgument(L"dflt"), S_OK, L"dflt"},
      {"missing section, string default", L"Nowhere", L"Absent", test::StringArgument(L"dflt"), S_OK, L"dflt"},
      {"missing value, default omitted", L"Options", L"Absent", Omitted(), E_INVALIDARG, L""},
      {"missing value, number default", L"Options", L"Absent", LongValue(5), E_INVALIDARG, L""},
      {"missing value, string by reference", L"Options", L"Absent", byReferenceString, S_OK, L"from a script variable"},
      {"present value ignores a number default", L"Options", L"Present", LongValue(5), S_OK, L"stored"},
      {"present value ignores an omitted default", L"Options", L"Present", Omitted(), S_OK, L"stored"},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    std::wstring value;
    VARIANT fallback = row.fallback;
    // The by-reference case must not free the referenced string here.
    if (fallback.vt & VT_BYREF) {
      BSTR result = nullptr;
      EXPECT_EQ(Hex(ortivo->GetSetting(Text(row.section), Text(row.key), fallback, &result)), Hex(row.status));
      value = TakeString(result);
    } else {
      EXPECT_EQ(Hex(Read(row.section, row.key, fallback, &value)), Hex(row.status));
    }
    EXPECT_EQ(value, row.value);
  }
  SysFreeString(referenced);
}

TEST_F(ServiceSettingsTest, SectionAndKeyLimitsOf64Bytes) {
  const std::wstring fits(64, L's');
  const std::wstring tooLong(65, L's');
  EXPECT_EQ(Save(fits, fits, L"v"), S_OK);
  std::wstring value;
  EXPECT_EQ(Read(fits, fits, Omitted(), &value), S_OK);
  EXPECT_EQ(value, L"v");

  EXPECT_EQ(Hex(Save(tooLong, L"k", L"v")), Hex(E_INVALIDARG));
  EXPECT_EQ(Hex(Save(L"Options", tooLong, L"v")), Hex(E_INVALIDARG));
  EXPECT_FALSE(test::RegistryKeyExists(HKEY_LOCAL_MACHINE, kServicesKey + L"QuarentSettings\\" + tooLong))
      << "refused before the registry is touched";
  EXPECT_EQ(Hex(Read(tooLong, L"k", test::StringArgument(L"d"), &value)), Hex(E_INVALIDARG));
  EXPECT_EQ(Hex(Read(L"Options", tooLong, test::StringArgument(L"d"), &value)), Hex(E_INVALIDARG));
  VARIANT all;
  VariantInit(&all);
  EXPECT_EQ(Hex(ortivo->GetAllSettings(Text(tooLong), &all)), Hex(E_INVALIDARG));
  EXPECT_EQ(Hex(Delete(tooLong, Omitted())), Hex(E_INVALIDARG));
  // DeleteSetting limits the Section only.
  EXPECT_EQ(Hex(Delete(fits, test::StringArgument(std::wstring(100, L'k').c_str()))), Hex(S_OK));
}

TEST_F(ServiceSettingsTest, AllSettingsAsATwoByNArray) {
  ASSERT_EQ(Save(L"Three", L"Alpha", L"1"), S_OK);
  ASSERT_EQ(Save(L"Three", L"Beta", L"two"), S_OK);
  ASSERT_EQ(Save(L"Three", L"Gamma", L""), S_OK);
  const std::vector<std::wstring> order = EnumeratedNames(kServicesKey + L"QuarentSettings\\Three");
  ASSERT_EQ(order.size(), 3u);
  const std::wstring data[] = {L"1", L"two", L""};
  const std::wstring names[] = {L"Alpha", L"Beta", L"Gamma"};

  VARIANT all;
  VariantInit(&all);
  ASSERT_EQ(ortivo->GetAllSettings(Text(L"Three"), &all), S_OK);
  ASSERT_EQ(all.vt, VT_ARRAY | VT_BSTR);
  SAFEARRAY* array = all.parray;
  ASSERT_EQ(SafeArrayGetDim(array), 2u);
  LONG lower = -1;
  LONG upper = -1;
  SafeArrayGetLBound(array, 1, &lower);
  SafeArrayGetUBound(array, 1, &upper);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 1);
  SafeArrayGetLBound(array, 2, &lower);
  SafeArrayGetUBound(array, 2, &upper);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 2);
  for (LONG index = 0; index < 3; ++index) {
    SCOPED_TRACE(index);
    LONG nameAt[2] = {0, index};
    LONG dataAt[2] = {1, index};
    BSTR name = nullptr;
    BSTR text = nullptr;
    ASSERT_EQ(SafeArrayGetElement(array, nameAt, &name), S_OK);
    ASSERT_EQ(SafeArrayGetElement(array, dataAt, &text), S_OK);
    const std::wstring nameText = TakeString(name);
    EXPECT_EQ(nameText, order[static_cast<size_t>(index)]);
    for (size_t known = 0; known < 3; ++known) {
      if (names[known] == nameText) {
        EXPECT_EQ(TakeString(text), data[known]);
      }
    }
  }
  VariantClear(&all);

  WriteRegistryValue(kServicesKey + L"QuarentSettings\\Empty", nullptr, 0, nullptr, 0);
  ASSERT_EQ(ortivo->GetAllSettings(Text(L"Empty"), &all), S_OK);
  ASSERT_EQ(all.vt, VT_ARRAY | VT_BSTR);
  SafeArrayGetUBound(all.parray, 1, &upper);
  EXPECT_EQ(upper, 1);
  SafeArrayGetUBound(all.parray, 2, &upper);
  EXPECT_EQ(upper, -1) << "2 x 0";
  VariantClear(&all);

  test::ClearErrorInfo();
  EXPECT_EQ(Hex(ortivo->GetAllSettings(Text(L"Missing"), &all)), Hex(E_FAIL));
  EXPECT_EQ(all.vt, VT_EMPTY);
  ExpectErrorText1500();
}

TEST_F(ServiceSettingsTest, ValuesOfOtherTypesAreReadAsTextUpToTheFirstNul) {
  const std::wstring section = kServicesKey + L"QuarentSettings\\Foreign";
  const DWORD number = 0x00434241;  // "ABC" followed by a NUL byte
  WriteRegistryValue(section, L"Number", REG_DWORD, &number, sizeof number);
  const wchar_t multi[] = L"first\0second\0";
  WriteRegistryValue(section, L"Multi", REG_MULTI_SZ, multi, sizeof multi);
  std::wstring value;
  EXPECT_EQ(Read(L"Foreign", L"Number", Omitted(), &value), S_OK);
  EXPECT_EQ(value, L"ABC");
  EXPECT_EQ(Read(L"Foreign", L"Multi", Omitted(), &value), S_OK);
  EXPECT_EQ(value, L"first");
}

TEST_F(ServiceSettingsTest, SectionsNamingTheServiceKeyAreRefused) {
  // The service's own entries, as the service control manager keeps them.
  const std::wstring service = kServicesKey + L"QuarentSettings";
  const DWORD start = 3;
  WriteRegistryValue(service, L"Start", REG_DWORD, &start, sizeof start);
  const wchar_t image[] = L"C:\\svc.exe";
  WriteRegistryValue(service, L"ImagePath", REG_EXPAND_SZ, image, sizeof image);
  WriteRegistryValue(service + L"\\Parameters", nullptr, 0, nullptr, 0);
  // Each names the service's key: empty, only backslashes, or so up to a NUL.
  const std::wstring sections[] = {L"", L"\\", L"\\\\", L"\\\\\\", std::wstring(L"\\\0Sub", 5)};
  for (const std::wstring& section : sections) {
    SCOPED_TRACE(testing::PrintToString(test::Narrow(section)));
    EXPECT_EQ(Hex(Save(section, L"Start", L"2")), Hex(E_INVALIDARG));
    EXPECT_EQ(Hex(Save(section, L"ImagePath", L"C:\\other.exe")), Hex(E_INVALIDARG));
    std::wstring value = L"?";
    EXPECT_EQ(Hex(Read(section, L"ImagePath", test::StringArgument(L"d"), &value)), Hex(E_INVALIDARG));
    EXPECT_EQ(value, L"");
    VARIANT all;
    VariantInit(&all);
    EXPECT_EQ(Hex(ortivo->GetAllSettings(Text(section), &all)), Hex(E_INVALIDARG));
    EXPECT_EQ(all.vt, VT_EMPTY);
    VariantClear(&all);
    EXPECT_EQ(Hex(Delete(section, test::StringArgument(L"ImagePath"))), Hex(E_INVALIDARG));
    EXPECT_EQ(Hex(Delete(section, test::StringArgument(L"Parameters"))), Hex(E_INVALIDARG));
    EXPECT_EQ(Hex(Delete(section, Omitted())), Hex(E_INVALIDARG));
    EXPECT_EQ(Hex(Delete(section, LongValue(1))), Hex(E_INVALIDARG));
  }
  DWORD type = 0;
  EXPECT_EQ(RawValue(service, L"Start", &type), std::string("\3\0\0\0", 4));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(test::RegistryValueType(HKEY_LOCAL_MACHINE, service, L"ImagePath"), static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(test::ReadRegistryString(HKEY_LOCAL_MACHINE, service, L"ImagePath").value_or(L"?"), L"C:\\svc.exe");
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_LOCAL_MACHINE, service + L"\\Parameters"));
  EXPECT_TRUE(EnumeratedNames(service + L"\\Parameters").empty());
}

TEST_F(ServiceSettingsTest, DeleteSettingRemovesSectionsAndKeys) {
  const std::wstring service = kServicesKey + L"QuarentSettings";
  ASSERT_EQ(Save(L"Gone", L"A", L"1"), S_OK);
  EXPECT_EQ(Delete(L"Gone", Omitted()), S_OK);
  EXPECT_FALSE(test::RegistryKeyExists(HKEY_LOCAL_MACHINE, service + L"\\Gone"));
  EXPECT_EQ(Delete(L"Gone", Omitted()), S_OK) << "nothing to delete still succeeds";
  EXPECT_EQ(Hex(Delete(L"", Omitted())), Hex(E_INVALIDARG));
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_LOCAL_MACHINE, service)) << "an empty Section never names the service key";

  ASSERT_EQ(Save(L"Keys", L"Value", L"1"), S_OK);
  ASSERT_EQ(Save(L"Keys", L"Other", L"2"), S_OK);
  WriteRegistryValue(service + L"\\Keys\\Value", nullptr, 0, nullptr, 0);  // a subkey of the same name
  EXPECT_EQ(Delete(L"Keys", test::StringArgument(L"Value")), S_OK);
  EXPECT_EQ(test::RegistryValueType(HKEY_LOCAL_MACHINE, service + L"\\Keys", L"Value"), static_cast<DWORD>(REG_NONE));
  EXPECT_FALSE(test::RegistryKeyExists(HKEY_LOCAL_MACHINE, service + L"\\Keys\\Value"));
  EXPECT_EQ(test::ReadRegistryString(HKEY_LOCAL_MACHINE, service + L"\\Keys", L"Other").value_or(L"?"), L"2");
  EXPECT_EQ(Delete(L"Keys", test::StringArgument(L"NeverThere")), S_OK);
  EXPECT_EQ(Delete(L"Keys", test::StringArgument(L"")), S_OK);
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_LOCAL_MACHINE, service + L"\\Keys"))
      << "an empty Key never names the section key";

  EXPECT_EQ(Hex(Delete(L"Keys", LongValue(1))), Hex(E_INVALIDARG));
  test::ClearErrorInfo();
  EXPECT_EQ(Hex(Delete(L"NoSection", test::StringArgument(L"Value"))), Hex(E_FAIL));
  ExpectErrorText1500();
}

TEST_F(ServiceSettingsTest, DeleteSettingLooksForTheServiceKeyFirst) {
  ASSERT_EQ(ortivo->put_ServiceName(Text(L"QuarentNeverSaved")), S_OK);
  struct Case {
    const char* note;
    VARIANT key;
  };
  const Case cases[] = {
      {"Key omitted", Omitted()},
      {"Key a string", test::StringArgument(L"K")},
      // The Key's type is looked at only once the service's key is open.
      {"Key a number", LongValue(1)},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    test::ClearErrorInfo();
    EXPECT_EQ(Hex(Delete(L"Options", row.key)), Hex(E_FAIL));
    ExpectErrorText1500();
  }
  EXPECT_FALSE(test::RegistryKeyExists(HKEY_LOCAL_MACHINE, kServicesKey + L"QuarentNeverSaved"));
}

TEST_F(ServiceSettingsTest, NameLongerThan254BytesEndsTheListing) {
  const std::wstring section = kServicesKey + L"QuarentSettings\\Long";
  const std::wstring longest(254, L'm');
  const std::wstring tooLong(255, L'n');
  const wchar_t data[] = L"d";
  for (const std::wstring& name : {std::wstring(L"A"), longest, tooLong, std::wstring(L"Z")}) {
    WriteRegistryValue(section, name.c_str(), REG_SZ, data, sizeof data);
  }
  const std::vector<std::wstring> order = EnumeratedNames(section);
  ASSERT_EQ(order.size(), 4u);
  std::vector<std::wstring> listed;
  for (const std::wstring& name : order) {
    if (name.size() > 254) break;
    listed.push_back(name);
  }
  ASSERT_LT(listed.size(), order.size());

  VARIANT all;
  VariantInit(&all);
  ASSERT_EQ(ortivo->GetAllSettings(Text(L"Long"), &all), S_OK);
  ASSERT_EQ(all.vt, VT_ARRAY | VT_BSTR);
  LONG upper = -2;
  SafeArrayGetUBound(all.parray, 2, &upper);
  ASSERT_EQ(upper + 1, static_cast<LONG>(listed.size()));
  for (LONG index = 0; index <= upper; ++index) {
    SCOPED_TRACE(index);
    LONG nameAt[2] = {0, index};
    BSTR name = nullptr;
    ASSERT_EQ(SafeArrayGetElement(all.parray, nameAt, &name), S_OK);
    EXPECT_EQ(TakeString(name), listed[static_cast<size_t>(index)]);
  }
  VariantClear(&all);
}

// What the RegEnumValueA seam below does to the listing of one section.
struct ListingSeam {
  test::ImportHook* hook = nullptr;
  HKEY section = nullptr;       // the test's own handle of the section listed
  DWORD index = 0;              // the index acted on
  int growths = 0;              // times the value there grows just before its data is read
  bool failSizing = false;      // answer the call without a data buffer with `failure`
  bool failReading = false;     // answer the call with a data buffer with `failure`
  LONG failure = ERROR_SUCCESS;
  std::wstring grownText;       // the value's text after the last growth
} listingSeam;

LONG WINAPI SeamedEnumValue(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD reserved, LPDWORD type,
                            LPBYTE data, LPDWORD size) {
  ListingSeam& seam = listingSeam;
  if (index == seam.index) {
    if (data == nullptr && seam.failSizing) return seam.failure;
    if (data != nullptr && seam.failReading) return seam.failure;
    if (data != nullptr && seam.growths > 0) {
      // Another writer rewrites the value, longer each time, between the two reads.
      --seam.growths;
      seam.grownText.append(30000, L'g');
      RegSetValueExW(seam.section, L"Middle", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(seam.grownText.c_str()),
                     static_cast<DWORD>((seam.grownText.size() + 1) * sizeof(wchar_t)));
    }
  }
  using Function = LONG(WINAPI*)(HKEY, DWORD, LPSTR, LPDWORD, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
  return reinterpret_cast<Function>(seam.hook->Original())(key, index, name, nameLength, reserved, type, data, size);
}

TEST_F(ServiceSettingsTest, AListingEndsOnlyAtTheEndOfTheEnumeration) {
  ASSERT_EQ(Save(L"Changing", L"First", L"1"), S_OK);
  ASSERT_EQ(Save(L"Changing", L"Middle", L"m"), S_OK);
  ASSERT_EQ(Save(L"Changing", L"Last", L"3"), S_OK);
  const std::wstring path = kServicesKey + L"QuarentSettings\\Changing";
  const std::vector<std::wstring> order = EnumeratedNames(path);
  ASSERT_EQ(order.size(), 3u);
  const DWORD middle = static_cast<DWORD>(std::find(order.begin(), order.end(), L"Middle") - order.begin());
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &listingSeam.section), 0);
  test::ImportHook hook(test::ServiceModule(), "advapi32.dll", "RegEnumValueA",
                        reinterpret_cast<void*>(&SeamedEnumValue));
  ASSERT_TRUE(hook.Installed());

  struct Case {
    const char* note;
    int growths;
    bool failSizing;
    bool failReading;
    LONG failure;
    HRESULT status;
  };
  const Case cases[] = {
      {"the value grows once between its two reads", 1, false, false, ERROR_SUCCESS, S_OK},
      {"the value grows three times in a row", 3, false, false, ERROR_SUCCESS, S_OK},
      {"sizing the value is refused", 0, true, false, ERROR_ACCESS_DENIED, E_FAIL},
      {"reading its data finds the key deleted", 0, false, true, ERROR_KEY_DELETED, E_FAIL},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    ASSERT_EQ(Save(L"Changing", L"Middle", L"m"), S_OK);
    listingSeam = {&hook, listingSeam.section, middle, row.growths, row.failSizing, row.failReading, row.failure, L"m"};
    test::ClearErrorInfo();
    VARIANT all;
    VariantInit(&all);
    EXPECT_EQ(Hex(ortivo->GetAllSettings(Text(L"Changing"), &all)), Hex(row.status));
    if (FAILED(row.status)) {
      EXPECT_EQ(all.vt, VT_EMPTY) << "no shorter list";
      ExpectErrorText1500();
      continue;
    }
    ASSERT_EQ(all.vt, VT_ARRAY | VT_BSTR);
    LONG upper = -2;
    SafeArrayGetUBound(all.parray, 2, &upper);
    EXPECT_EQ(upper, 2) << "every value listed";
    LONG dataAt[2] = {1, static_cast<LONG>(middle)};
    BSTR text = nullptr;
    ASSERT_EQ(SafeArrayGetElement(all.parray, dataAt, &text), S_OK);
    EXPECT_EQ(TakeString(text), listingSeam.grownText) << "the data as it was last written";
    EXPECT_EQ(listingSeam.growths, 0);
    VariantClear(&all);
  }
  RegCloseKey(listingSeam.section);
}

LONG WINAPI RefusedDeleteValue(HKEY, LPCSTR) { return ERROR_ACCESS_DENIED; }

TEST_F(ServiceSettingsTest, RefusedValueDeletionIsReported) {
  ASSERT_EQ(Save(L"Keys", L"Value", L"1"), S_OK);
  {
    test::ImportHook refuse(test::ServiceModule(), "advapi32.dll", "RegDeleteValueA",
                            reinterpret_cast<void*>(&RefusedDeleteValue));
    ASSERT_TRUE(refuse.Installed());
    test::ClearErrorInfo();
    EXPECT_EQ(Hex(Delete(L"Keys", test::StringArgument(L"Value"))), Hex(E_FAIL));
    ExpectErrorText1500();
  }
  EXPECT_EQ(
      test::ReadRegistryString(HKEY_LOCAL_MACHINE, kServicesKey + L"QuarentSettings\\Keys", L"Value").value_or(L"?"),
      L"1");
}

TEST_F(ServiceSettingsTest, RefusedDeletionIsReported) {
  // The registry refuses to delete a key that still has subkeys.
  ASSERT_EQ(Save(L"Outer\\Inner", L"Deep", L"1"), S_OK);
  test::ClearErrorInfo();
  EXPECT_EQ(Hex(Delete(L"Outer", Omitted())), Hex(E_FAIL));
  ExpectErrorText1500();
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_LOCAL_MACHINE, kServicesKey + L"QuarentSettings\\Outer\\Inner"));
}

LONG WINAPI RefusedSetValue(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD) { return ERROR_ACCESS_DENIED; }

TEST_F(ServiceSettingsTest, RefusedValueWriteIsReported) {
  test::ImportHook refuse(test::ServiceModule(), "advapi32.dll", "RegSetValueExA",
                          reinterpret_cast<void*>(&RefusedSetValue));
  ASSERT_TRUE(refuse.Installed());
  test::ClearErrorInfo();
  EXPECT_EQ(Hex(Save(L"Options", L"Refused", L"x")), Hex(E_FAIL));
  ExpectErrorText1500();
}

TEST_F(ServiceSettingsTest, ServiceNameChoosesTheKey) {
  ASSERT_EQ(Save(L"Options", L"Where", L"first"), S_OK);
  ASSERT_EQ(ortivo->put_ServiceName(Text(L"QuarentOther")), S_OK);
  ASSERT_EQ(Save(L"Options", L"Where", L"second"), S_OK);
  EXPECT_EQ(test::ReadRegistryString(HKEY_LOCAL_MACHINE, kServicesKey + L"QuarentSettings\\Options", L"Where")
                .value_or(L"?"),
            L"first");
  EXPECT_EQ(
      test::ReadRegistryString(HKEY_LOCAL_MACHINE, kServicesKey + L"QuarentOther\\Options", L"Where").value_or(L"?"),
      L"second");
  std::wstring value;
  EXPECT_EQ(Read(L"Options", L"Where", Omitted(), &value), S_OK);
  EXPECT_EQ(value, L"second");
}

TEST_F(ServiceSettingsTest, WithoutAServiceNameNoKeyIsTouched) {
  ASSERT_EQ(ortivo->put_ServiceName(Text(L"")), S_OK);
  test::ClearErrorInfo();
  EXPECT_EQ(Hex(Save(L"Stray", L"K", L"v")), Hex(E_FAIL));
  ExpectErrorText1500();
  EXPECT_FALSE(test::RegistryKeyExists(HKEY_LOCAL_MACHINE, kServicesKey + L"Stray"));
  std::wstring value;
  EXPECT_EQ(Read(L"Stray", L"K", test::StringArgument(L"d"), &value), S_OK);
  EXPECT_EQ(value, L"d");
  EXPECT_EQ(Hex(Delete(L"EventLog", Omitted())), Hex(E_FAIL));
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_LOCAL_MACHINE, kServicesKey + L"EventLog"));
}

}  // namespace
