// Where the Help command looks for its help file.
#include <gtest/gtest.h>

#include <string>

#include "model/help_file.h"

namespace quarent::brnlog {
namespace {

TEST(HelpFilePathTest, ReplacesTheModulesFileName) {
  struct Case {
    const char* module;
    const char* help;
  };
  const Case cases[] = {
      {"C:\\Program Files\\Brindle\\brnlog.dll", "C:\\Program Files\\Brindle\\BrnLog.hlp"},
      {"C:\\BrnLog.dll", "C:\\BrnLog.hlp"},
      {"\\\\server\\share\\bin\\BRNLOG.DLL", "\\\\server\\share\\bin\\BrnLog.hlp"},
      {"brnlog.dll", "BrnLog.hlp"},
      {"C:\\folder.with.dots\\x", "C:\\folder.with.dots\\BrnLog.hlp"},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.module);
    EXPECT_EQ(HelpFilePath(row.module), row.help);
  }
}

}  // namespace
}  // namespace quarent::brnlog
