#include "each_class_script.h"

#include "processes.h"

namespace test {

const char kEveryClassCreated[] =
    "QUARENT.QRNSharedMemory ISharedMemory 38\r\n"
    "QUARENT.QRNBarCode IQRNBarCode True\r\n"
    "BrnLog.Log ILog 0\r\n"
    "QUARENT.QRNOrtivo IOrtivo SideBySide\r\n";

std::string CreateEachClassByScript(const wchar_t* systemFolder) {
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  return CaptureOutput(L"\"" + std::wstring(windows) + L"\\" + systemFolder + L"\\cscript.exe\" //nologo \"" +
                       FromUnixPath(QUARENT_TEST_SCRIPTS "/common/create_each.vbs") + L"\"");
}

}  // namespace test
