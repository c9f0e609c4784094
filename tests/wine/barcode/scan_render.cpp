// Renders pictures for readers written elsewhere: for each case <name>.bmp and <name>.txt (the
// text the reader must find) in the current folder. Without an argument, barcodes drawn through
// DrawToDC, and one control window through PrintWindow, for a barcode decoder; with the argument
// "captions", the text bands of horizontal symbols, cut at the rectangle given to DrawToDC, for a
// text recogniser.
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

struct CaptionCase {
  const char* name;
  const wchar_t* caption;
};

// Captions whose letters reach below the baseline: Q's tail, g, j, p, q, y and the comma.
const CaptionCase kCaptionCases[] = {
    {"caption-stellon", L"QRN Stellon 1.2.5"},
    {"caption-descenders", L"Jumpy query, gypsy jog"},
};

// The text band of a horizontal symbol drawn into a rectangle of exactly its valid size, in a
// 20 pt font: the band's rows inside the rectangle only (what a window of that size shows), on
// a white margin.
bool RenderTextBand(const CaptionCase& item) {
  test::HostedControl control;
  test::Bstr caption(item.caption);
  IFontDisp* font = test::MakeFont(L"Arial", 20);
  const bool accepted = font != nullptr && SUCCEEDED(control->putref_Font(font)) &&
                        SUCCEEDED(control->put_Caption(caption.Get())) && SUCCEEDED(control->put_BarWidth(50));
  if (font) font->Release();
  LONG cx = 0, cy = 0, barsOnly = 0;
  VARIANT_BOOL sized = VARIANT_FALSE;
  if (!accepted || FAILED(control->put_TextShow(VARIANT_FALSE)) ||
      FAILED(control->GetValidSize(&cx, &barsOnly, &sized)) || FAILED(control->put_TextShow(VARIANT_TRUE)) ||
      FAILED(control->GetValidSize(&cx, &cy, &sized))) {
    std::printf("%s: the control refused the case\n", item.name);
    return false;
  }
  const int width = static_cast<int>((cx * 96 + 2539) / 2540);
  const int height = static_cast<int>((cy * 96 + 2539) / 2540);
  const int band = static_cast<int>((cy - barsOnly) * 96 / 2540) - 1;  // leaves the bars out
  test::Canvas canvas(width, height);
  VARIANT_BOOL drawn = VARIANT_FALSE;
  const HRESULT status =
      control->DrawToDC(static_cast<LONG>(reinterpret_cast<LONG_PTR>(canvas.Dc())), 0, 0, width, height, &drawn);
  if (FAILED(status) || drawn != VARIANT_TRUE) {
    std::printf("%s: not drawn (0x%08lX)\n", item.name, static_cast<unsigned long>(status));
    return false;
  }
  constexpr int kMargin = 20;
  test::Canvas text(width + 2 * kMargin, band + 2 * kMargin);
  BitBlt(text.Dc(), kMargin, kMargin, width, band, canvas.Dc(), 0, height - band, SRCCOPY);
  return Save(text, item.name, item.caption);
}

}  // namespace

int main(int argc, char** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int failures = 0;
  if (!test::RegisterBarCodeServer()) {
    std::printf("QRNBC10.dll could not be registered\n");
    return 1;
  }
  if (argc > 1 && std::string(argv[1]) == "captions") {
    for (const CaptionCase& item : kCaptionCases) failures += RenderTextBand(item) ? 0 : 1;
  } else {
    for (const Case& item : kCases) failures += Render(item) ? 0 : 1;
    failures += RenderPrintedWindow() ? 0 : 1;
  }
  CoUninitialize();
  return failures == 0 ? 0 : 1;
}
