// QUARENT.QRNOrtivo driven late-bound by a VBScript client under cscript.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ortivo_client.h"
#include "processes.h"
#include "registry_reader.h"

namespace {

std::vector<std::string> OutputLines(const std::string& output) {
  std::vector<std::string> lines;
  std::istringstream stream(output);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

TEST(ServiceScriptTest, ConfigurationSettingsAndEventLogFromVBScript) {
  test::RegisterServiceComponent();
  const std::string output =
      test::CaptureOutput(L"cscript.exe //nologo \"" + test::BesideProgram(L"service_client.vbs") + L"\"");
  const std::vector<std::string> expected = {
      "ServiceName=[]",
      "ControlsAccepted=1",
      "StartMode=3",
      "Debug=False",
      "Running=False",
      "CurrentStatus=0",
      "Configured=QuarentScript|Quarent Script Service|2",
      // E_INVALIDARG without error information reaches a script as its error 5.
      "BadName=5|QuarentScript",
      "TimerZero=80070057|The IDEvent must be between 0x00000001 and 0x7FFFFFFF.",
      "Color=blue",
      "Missing=literal default",
      "MissingByVariable=variable default",
      "AllSettingsType=8200",
      "AfterDelete=gone",
      "DeletedSection=80004005|Access Denied or Invalid Parameters",
      "Logged=True",
  };
  EXPECT_EQ(OutputLines(output), expected) << output;
  // The script's settings went to the registry below its service's key.
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\QuarentScript"));
  EXPECT_FALSE(
      test::RegistryKeyExists(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\QuarentScript\\Options"));
}

}  // namespace
