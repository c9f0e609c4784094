// Name rules and registry paths of the service configuration.
#include "service_config_rules.h"

#include <gtest/gtest.h>

#include <string>

namespace quarent::service {
namespace {

// Lead bytes of code page 932 (Shift-JIS), from its published byte ranges.
bool IsShiftJisLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

bool IsSingleByte(unsigned char) { return false; }

// U+30BD KATAKANA LETTER SO in Shift-JIS: 0x83 0x5C, its trail byte is a backslash.
const std::string kKatakanaSo = "\x83\x5C";

std::string Repeat(const std::string& piece, size_t times) {
  std::string text;
  for (size_t index = 0; index < times; ++index) text += piece;
  return text;
}

TEST(ServiceNameTest, AcceptsUpTo64BytesWithoutSlashes) {
  struct Case {
    const char* note;
    std::string name;
    LeadBytePredicate leadBytes;
    bool valid;
  };
  const Case cases[] = {
      {"empty name", "", &IsSingleByte, true},
      {"ordinary name", "QuarentService", &IsSingleByte, true},
      {"64 bytes", std::string(64, 'a'), &IsSingleByte, true},
      {"65 bytes", std::string(65, 'a'), &IsSingleByte, false},
      {"backslash inside", "My\\Service", &IsSingleByte, false},
      {"slash inside", "My/Service", &IsSingleByte, false},
      {"backslash first", "\\Service", &IsSingleByte, false},
      {"slash last", "Service/", &IsSingleByte, false},
      {"space and dot are allowed", "My Service.1", &IsSingleByte, true},
      {"double-byte character whose trail byte is 0x5C", "A" + kKatakanaSo + "B", &IsShiftJisLeadByte, true},
      {"same bytes in a single-byte code page", "A" + kKatakanaSo + "B", &IsSingleByte, false},
      {"real backslash after a double-byte character", kKatakanaSo + "\\", &IsShiftJisLeadByte, false},
      {"32 double-byte characters are 64 bytes", Repeat(kKatakanaSo, 32), &IsShiftJisLeadByte, true},
      {"33 double-byte characters are 66 bytes", Repeat(kKatakanaSo, 33), &IsShiftJisLeadByte, false},
      {"lead byte at the very end", "Name\x83", &IsShiftJisLeadByte, true},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    EXPECT_EQ(IsValidServiceName(row.name, row.leadBytes), row.valid);
  }
}

TEST(ServiceNameTest, DisplayNameMustBeShorterThan256Characters) {
  EXPECT_TRUE(IsValidDisplayNameLength(0));
  EXPECT_TRUE(IsValidDisplayNameLength(255));
  EXPECT_FALSE(IsValidDisplayNameLength(256));
  EXPECT_FALSE(IsValidDisplayNameLength(100000));
}

TEST(SettingsPathTest, PathsBelowTheServiceKey) {
  EXPECT_EQ(SettingsBasePath("Quarent"), "SYSTEM\\CurrentControlSet\\Services\\Quarent\\");
  EXPECT_EQ(SettingsBasePath(""), "SYSTEM\\CurrentControlSet\\Services\\\\");
  // The longest name gives the longest base path the object keeps.
  EXPECT_EQ(SettingsBasePath(std::string(64, 'n')).size(), 99u);
  EXPECT_EQ(SectionKeyPath("SYSTEM\\CurrentControlSet\\Services\\Quarent\\", "Options"),
            "SYSTEM\\CurrentControlSet\\Services\\Quarent\\Options\\");
  EXPECT_EQ(SectionKeyPath("Base\\", "Outer\\Inner"), "Base\\Outer\\Inner\\");
  EXPECT_EQ(EventSourceKeyPath("Quarent"), "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\Quarent");
}

TEST(SettingsPathTest, ASectionMustNameAKeyBelowTheServiceKey) {
  struct Case {
    const char* note;
    std::string section;
    bool valid;
  };
  const Case cases[] = {
      {"ordinary section", "Options", true},
      {"nested sections", "Outer\\Inner", true},
      {"a name after backslashes", "\\\\Options", true},
      {"a space names a key", " ", true},
      {"double-byte character whose trail byte is 0x5C", kKatakanaSo, true},
      {"64 bytes", std::string(64, 's'), true},
      {"empty", "", false},
      {"one backslash", "\\", false},
      {"two backslashes", "\\\\", false},
      {"64 backslashes", std::string(64, '\\'), false},
      {"the registry reads only up to a NUL", std::string("\\\0Sub", 5), false},
      {"NUL first", std::string("\0Sub", 4), false},
      {"65 bytes", std::string(65, 's'), false},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    EXPECT_EQ(IsValidSection(row.section), row.valid);
  }
}

TEST(ServiceImagePathTest, QuotedWhenThePathHoldsASpace) {
  struct Case {
    const char* path;
    const char* imagePath;
  };
  const Case cases[] = {
      {"C:\\Program Files\\My App\\svc.exe", "\"C:\\Program Files\\My App\\svc.exe\""},
      {"C:\\Apps\\svc one.exe", "\"C:\\Apps\\svc one.exe\""},
      {"C:\\Apps\\svc.exe", "C:\\Apps\\svc.exe"},
      {"", ""},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(ServiceImagePath(row.path), row.imagePath);
  }
}

TEST(SettingsTextTest, NameLimitAndDataUpToFirstNul) {
  EXPECT_TRUE(FitsNameLimit(std::string(64, 'k')));
  EXPECT_FALSE(FitsNameLimit(std::string(65, 'k')));

  struct Case {
    const char* note;
    std::string data;
    std::string text;
  };
  const Case cases[] = {
      {"terminated string", std::string("value\0", 6), "value"},
      {"unterminated data", "value", "value"},
      {"empty data", "", ""},
      {"single NUL of an empty value", std::string(1, '\0'), ""},
      {"number bytes with an early NUL", std::string("\x2A\0\0\0", 4), "\x2A"},
      {"two strings (REG_MULTI_SZ)", std::string("one\0two\0\0", 9), "one"},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    EXPECT_EQ(TextUpToFirstNul(row.data), row.text);
  }
}

}  // namespace
}  // namespace quarent::service
