// DrawToDC of a 20-character Code 128 caption against plain GDI filling the same module
// rectangles, in calls per second and as a ratio. Run under Wine beside QRNBC10.dll:
//   tests/wine/run-in-prefix.sh <cross build>/bin/barcode_draw_benchmark.exe
#include <windows.h>
#include <olectl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "QRNBC10_h.h"
#include "processes.h"
#include "encoders/encoder_factory.h"

namespace {

constexpr wchar_t kCaption[] = L"QUARENT-BENCH-000123";  // 20 characters
constexpr int kWidth = 900;
constexpr int kHeight = 200;
constexpr LONG kModuleWidth = 35;

// Calls `work` repeatedly for about `milliseconds` and returns the calls per second.
template <class Work>
double CallsPerSecond(Work&& work, DWORD milliseconds = 2000) {
  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  long calls = 0;
  do {
    for (int batch = 0; batch < 50; ++batch) work();
    calls += 50;
    QueryPerformanceCounter(&now);
  } while ((now.QuadPart - start.QuadPart) * 1000 < static_cast<LONGLONG>(milliseconds) * frequency.QuadPart);
  return calls * static_cast<double>(frequency.QuadPart) / static_cast<double>(now.QuadPart - start.QuadPart);
}

// The bar module rectangles DrawToDC paints for the caption in a kWidth x kHeight pixel
// rectangle at 96 dpi, in 0.01 mm with y upward (without text: bars over the whole height).
std::vector<RECT> ModuleRectangles(const RECT& bounds) {
  std::vector<RECT> modules;
  std::unique_ptr<quarent::barcode::BarCodeEncoder> encoder = quarent::barcode::MakeEncoder(quarent::barcode::BarStyle::Code128, "QUARENT-BENCH-000123");
  if (!encoder || encoder->Encode() == nullptr) return modules;
  LONG x = bounds.left + 635;
  encoder->ForEachElement([&](const quarent::barcode::SymbolElement& element) {
    for (int count = 0; count < element.modules; ++count) {
      if (element.isBar) modules.push_back(RECT{x, bounds.top, x + kModuleWidth, bounds.bottom});
      x += kModuleWidth;
    }
  });
  return modules;
}

}  // namespace

int main() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (test::RegisterServer(L"QRNBC10.dll") != 0) {
    std::printf("QRNBC10.dll could not be registered\n");
    return 1;
  }
  IQRNBarCode* control = nullptr;
  if (FAILED(CoCreateInstance(CLSID_QRNBarCode, nullptr, CLSCTX_INPROC_SERVER, IID_IQRNBarCode,
                              reinterpret_cast<void**>(&control)))) {
    std::printf("the control could not be created\n");
    return 1;
  }
  FONTDESC description = {sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {{100000, 0}}, FW_NORMAL, 0, FALSE, FALSE, FALSE};
  IFontDisp* font = nullptr;
  OleCreateFontIndirect(&description, IID_IFontDisp, reinterpret_cast<void**>(&font));
  control->putref_Font(font);
  BSTR caption = SysAllocString(kCaption);
  control->put_Caption(caption);
  SysFreeString(caption);

  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  const LONG handle = static_cast<LONG>(reinterpret_cast<LONG_PTR>(dc));

  // Plain GDI: the same context switch, brushes, background and module rectangles.
  RECT logical = {0, 0, kWidth, kHeight};
  {
    const int saved = SaveDC(dc);
    SetMapMode(dc, MM_HIMETRIC);
    DPtoLP(dc, reinterpret_cast<POINT*>(&logical), 2);
    RestoreDC(dc, saved);
  }
  const std::vector<RECT> modules = ModuleRectangles(logical);
  auto baseline = [&] {
    const int saved = SaveDC(dc);
    RECT bounds = {0, 0, kWidth, kHeight};
    LPtoDP(dc, reinterpret_cast<POINT*>(&bounds), 2);
    SetMapMode(dc, MM_HIMETRIC);
    DPtoLP(dc, reinterpret_cast<POINT*>(&bounds), 2);
    HBRUSH bar = CreateSolidBrush(RGB(0, 0, 0));
    HBRUSH background = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(dc, &bounds, background);
    for (const RECT& module : modules) FillRect(dc, &module, bar);
    DeleteObject(bar);
    DeleteObject(background);
    RestoreDC(dc, saved);
  };
  VARIANT_BOOL drawn = VARIANT_FALSE;
  auto drawToDc = [&] { control->DrawToDC(handle, 0, 0, kWidth, kHeight, &drawn); };

  control->put_TextShow(VARIANT_FALSE);
  drawToDc();
  VARIANT_BOOL valid = VARIANT_FALSE;
  control->get_IsBarValid(&valid);
  if (drawn != VARIANT_TRUE || valid != VARIANT_TRUE) {
    std::printf("DrawToDC did not draw the barcode\n");
    return 1;
  }
  // Interleaved rounds, best of each: the machine is shared, so single runs are noisy.
  double gdiRate = 0, controlRate = 0, withTextRate = 0;
  for (int round = 0; round < 3; ++round) {
    control->put_TextShow(VARIANT_FALSE);
    gdiRate = std::max(gdiRate, CallsPerSecond(baseline, 1000));
    controlRate = std::max(controlRate, CallsPerSecond(drawToDc, 1000));
    control->put_TextShow(VARIANT_TRUE);
    withTextRate = std::max(withTextRate, CallsPerSecond(drawToDc, 1000));
  }

  std::printf("Code 128, 20 characters, %zu bar modules, %d x %d pixels\n", modules.size(), kWidth, kHeight);
  std::printf("plain GDI fills          %10.0f calls/s\n", gdiRate);
  std::printf("DrawToDC without text    %10.0f calls/s\n", controlRate);
  std::printf("DrawToDC with text       %10.0f calls/s\n", withTextRate);
  std::printf("time ratio DrawToDC / GDI: %.2f without text (target 1.3 or less), %.2f with text\n",
              gdiRate / controlRate, gdiRate / withTextRate);

  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  font->Release();
  control->Release();
  CoUninitialize();
  return 0;
}
