// A VBScript client under cscript, late bound through IDispatch.
#include <gtest/gtest.h>

#include <string>

#include "log_client.h"
#include "processes.h"

namespace logtest {
namespace {

// The script's path, the program's first argument.
std::string scriptPath;

TEST(LogScriptTest, ScriptLogsAndReadsTheFilterState) {
  ASSERT_TRUE(RegisterBrnLog());
  ASSERT_FALSE(scriptPath.empty());
  const std::wstring command = L"cscript.exe //nologo \"" + std::wstring(scriptPath.begin(), scriptPath.end()) + L"\"";
  const std::string output = test::CaptureOutput(command);
  EXPECT_EQ(output,
            "IsLogWindow before 0\r\n"
            "MessageImage 0\r\n"
            "IsLogWindow 1\r\n"
            "Disk 0\r\n"
            "Sensor 1\r\n"
            "Fresh 1\r\n"
            "disk 1\r\n"
            "Level 3 0\r\n"
            "Level 259 0\r\n"
            "Level 1 1\r\n"
            "Level 0 0\r\n"
            "MessageImage 3\r\n"
            "ContextMenuEnabled 0\r\n"
            "IsLogWindow after 0\r\n");
}

}  // namespace
}  // namespace logtest

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc > 1) logtest::scriptPath = argv[1];
  return RUN_ALL_TESTS();
}
