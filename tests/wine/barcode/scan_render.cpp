// Renders barcodes through DrawToDC, and one control window through PrintWindow, into BMP files
// for an independent decoder: for each case <name>.bmp and <name>.txt (the caption the decoder
// must read) in the current folder.
#include <windows.h>

#include <cstdio>
#include <string>

// Modules of 0.80 mm are three pixels wide on a 96-dpi bitmap, so narrow and wide elements keep
// their 1:2 ratio exactly.

#include "QRNBC10_h.h"
#include "canvas.h"
#include "test_container.h"

namespace {

struct Case {
  const char* name;
  Constants_BarCodeSel style;
  const wchar_t* caption;
};

const Case kCases[] = {
    {"code128-automatic", qrnBarCode128, L"QUARENT-2024 ab"},
    {"code128-digits", qrnBarCode128, L"A12345"},
    {"code128-set-a", qrnBarCode128A, L"SET A 123"},
    {"code128-set-b", qrnBarCode128B, L"Set b: lower"},
    {"code128-set-c", qrnBarCode128C, L"12345678"},
    {"code39", qrnBarCode39, L"CODE 39-$%"},
    {"codabar", qrnBarCodeCodeabar, L"A40156B"},
};

// Writes <name>.bmp and <name>.txt holding `caption`.
bool Save(const test::Canvas& canvas, const std::string& name, const wchar_t* caption) {
  if (!canvas.SaveBmp(std::wstring(name.begin(), name.end()) + L".bmp")) return false;
  FILE* expected = std::fopen((name + ".txt").c_str(), "wb");
  if (expected == nullptr) return false;
  char text[256] = {};
  WideCharToMultiByte(CP_ACP, 0, caption, -1, text, sizeof text, nullptr, nullptr);
  std::fputs(text, expected);
  return std::fclose(expected) == 0;
}

bool Render(const Case& item) {
  test::HostedControl control;
  test::Bstr empty(L"");
  test::Bstr caption(item.caption);
  if (FAILED(control->put_Caption(empty.Get())) || FAILED(control->put_BarStyle(item.style)) ||
      FAILED(control->put_Caption(caption.Get())) || FAILED(control->put_BarWidth(80))) {
    std::printf("%s: the control refused the case\n", item.name);
    return false;
  }
  test::Canvas canvas(1200, 200);
  VARIANT_BOOL drawn = VARIANT_FALSE;
  const HRESULT status = control->DrawToDC(static_cast<LONG>(reinterpret_cast<LONG_PTR>(canvas.Dc())), 20, 20,
                                           1180, 180, &drawn);
  VARIANT_BOOL valid = VARIANT_FALSE;
  control->get_IsBarValid(&valid);
  if (FAILED(status) || drawn != VARIANT_TRUE || valid != VARIANT_TRUE) {
    std::printf("%s: not drawn (0x%08lX)\n", item.name, static_cast<unsigned long>(status));
    return false;
  }
  return Save(canvas, item.name, item.caption);
}

// The window of an in-place active control drawn into a bitmap by PrintWindow, as hosts take
// pictures of forms.
bool RenderPrintedWindow() {
  const wchar_t caption[] = L"PrintWindow";
  test::HostedControl control;
  control.Site().position = {10, 10, 630, 170};
  test::Bstr text(caption);
  if (FAILED(control->put_Caption(text.Get())) || FAILED(control->put_BarWidth(80)) || FAILED(control.Activate())) {
    std::printf("printed window: the control refused the case\n");
    return false;
  }
  test::Canvas canvas(620, 160);
  if (!PrintWindow(control.ControlWindow(), canvas.Dc(), 0)) {
    std::printf("printed window: PrintWindow failed\n");
    return false;
  }
  return Save(canvas, "printwindow-code128", caption);
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int failures = 0;
  if (!test::RegisterBarCodeServer()) {
    std::printf("QRNBC10.dll could not be registered\n");
    return 1;
  }
  for (const Case& item : kCases) failures += Render(item) ? 0 : 1;
  failures += RenderPrintedWindow() ? 0 : 1;
  CoUninitialize();
  return failures == 0 ? 0 : 1;
}
