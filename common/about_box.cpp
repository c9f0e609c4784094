#include "common/about_box.h"

#include <cstdio>
#include <vector>

#include "common/about_box_ids.h"
#include "common/automation_types.h"
#include "common/error_info.h"
#include "common/module.h"
#include "common/win_handles.h"

namespace quarent {
namespace {

struct AboutDialog {
  std::string caption;
  std::string titleLine;
  GdiObject<HFONT> boldFont;
};

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* about = reinterpret_cast<AboutDialog*>(lParam);
      // The template's font is MS Sans Serif 8; the title line is its bold cut.
      LOGFONTA font = {};
      GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
      lstrcpynA(font.lfFaceName, "MS Sans Serif", LF_FACESIZE);
      font.lfWeight = FW_BOLD;
      about->boldFont.Reset(CreateFontIndirectA(&font));
      HWND title = GetDlgItem(dialog, IDC_QUARENT_ABOUT_TITLE);
      SendMessageA(title, WM_SETFONT, reinterpret_cast<WPARAM>(about->boldFont.Get()), TRUE);
      SetWindowTextA(title, about->titleLine.c_str());
      SetWindowTextA(dialog, about->caption.c_str());
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

std::string ModuleFileVersion() {
  char path[MAX_PATH];
  if (GetModuleFileNameA(module::Instance(), path, MAX_PATH) == 0) return {};
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) return {};
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(path, 0, size, block.data())) return {};
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) || info == nullptr) return {};
  char version[64];
  std::snprintf(version, sizeof version, "%d.%d.%d.%d", static_cast<int>(HIWORD(info->dwFileVersionMS)),
                static_cast<int>(LOWORD(info->dwFileVersionMS)), static_cast<int>(HIWORD(info->dwFileVersionLS)),
                static_cast<int>(LOWORD(info->dwFileVersionLS)));
  return version;
}

namespace {

std::string ProductTitle(UINT productTitleId) {
  const std::wstring title = LoadModuleString(productTitleId);
  return ToAnsi(title.c_str(), static_cast<UINT>(title.size()));
}

}  // namespace

std::string AboutTitleLine(UINT productTitleId) {
  const std::string title = ProductTitle(productTitleId);
  std::vector<char> line(title.size() + 80);
  std::snprintf(line.data(), line.size(), "%s  v%s", title.c_str(), ModuleFileVersion().c_str());
  return line.data();
}

HRESULT ShowAboutBox(UINT productTitleId) {
  try {
    AboutDialog about{"About " + ProductTitle(productTitleId), AboutTitleLine(productTitleId), {}};
    const INT_PTR result = DialogBoxParamA(module::Instance(), MAKEINTRESOURCEA(IDD_QUARENT_ABOUT),
                                           GetActiveWindow(), AboutDialogProc, reinterpret_cast<LPARAM>(&about));
    if (result == -1) return StatusFromPlatformError(GetLastError());
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace quarent
