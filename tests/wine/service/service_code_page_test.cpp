// QUARENT.QRNOrtivo in a double-byte system code page (932, Shift-JIS, chosen
// through the locale ctest gives this test): the 64-byte limits count bytes of
// the converted text, and a trail byte 0x5C is no backslash.
#include <gtest/gtest.h>

#include <string>

#include "com_client.h"
#include "ortivo_client.h"
#include "registry_reader.h"

namespace {

using test::Hex;
using test::TakeString;
using test::Text;

// U+30BD KATAKANA LETTER SO: 0x83 0x5C in code page 932, its trail byte a backslash.
const std::wstring kSo(1, L'\u30BD');

std::wstring Repeat(const std::wstring& piece, size_t times) {
  std::wstring text;
  for (size_t index = 0; index < times; ++index) text += piece;
  return text;
}

class ServiceCodePageTest : public test::OrtivoTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u) << "the test runs with LC_ALL=ja_JP.UTF-8";
    OrtivoTest::SetUp();
  }

  std::wstring ServiceName() {
    BSTR name = nullptr;
    EXPECT_EQ(ortivo->get_ServiceName(&name), S_OK);
    return TakeString(name);
  }
};

TEST_F(ServiceCodePageTest, ServiceNameCountsBytes) {
  const std::wstring longest = Repeat(kSo, 32);
  struct Case {
    const char* note;
    std::wstring name;
    HRESULT status;
    std::wstring readBack;
  };
  const Case cases[] = {
      {"one double-byte character is no backslash", L"A" + kSo + L"B", S_OK, L"A" + kSo + L"B"},
      {"32 double-byte characters are 64 bytes", longest, S_OK, longest},
      {"33 double-byte characters are 66 bytes", Repeat(kSo, 33), E_INVALIDARG, longest},
      {"63 single bytes and one double-byte character are 65 bytes", std::wstring(63, L'a') + kSo, E_INVALIDARG,
       longest},
      {"a real backslash after a double-byte character", kSo + L"\\", E_INVALIDARG, longest},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    EXPECT_EQ(Hex(ortivo->put_ServiceName(Text(row.name))), Hex(row.status));
    EXPECT_EQ(ServiceName(), row.readBack);
  }
  // DisplayName's limit counts characters, not bytes.
  EXPECT_EQ(ortivo->put_DisplayName(Text(Repeat(kSo, 255))), S_OK);
}

TEST_F(ServiceCodePageTest, SettingsLimitsCountBytesAndKeysKeepTheName) {
  const std::wstring name = Repeat(kSo, 3);
  ASSERT_EQ(ortivo->put_ServiceName(Text(name)), S_OK);
  const std::wstring section = Repeat(kSo, 32);
  EXPECT_EQ(ortivo->SaveSetting(Text(section), Text(L"Key"), Text(kSo)), S_OK);
  EXPECT_EQ(Hex(ortivo->SaveSetting(Text(Repeat(kSo, 33)), Text(L"Key"), Text(L"v"))), Hex(E_INVALIDARG));
  EXPECT_EQ(Hex(ortivo->SaveSetting(Text(L"Options"), Text(Repeat(kSo, 33)), Text(L"v"))), Hex(E_INVALIDARG));
  EXPECT_EQ(test::ReadRegistryString(HKEY_LOCAL_MACHINE,
                                     L"SYSTEM\\CurrentControlSet\\Services\\" + name + L"\\" + section, L"Key")
                .value_or(L"(missing)"),
            kSo);
  VARIANT omitted;
  VariantInit(&omitted);
  omitted.vt = VT_ERROR;
  omitted.scode = DISP_E_PARAMNOTFOUND;
  BSTR value = nullptr;
  EXPECT_EQ(ortivo->GetSetting(Text(section), Text(L"Key"), omitted, &value), S_OK);
  EXPECT_EQ(TakeString(value), kSo);
}

}  // namespace
