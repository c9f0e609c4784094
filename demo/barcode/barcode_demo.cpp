// Renders one barcode of each of the nine styles, and Code 128 in both vertical orientations,
// through the control's DrawToDC into bitmaps written as <number>-<name>.bmp into the folder
// given as the first argument.
#include <windows.h>
#include <olectl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "QRNBC10_h.h"

namespace {

struct Sample {
  Constants_BarCodeSel style;
  const char* name;
  const wchar_t* caption;
  Constants_Orientation orientation = qrnHorizontally;
};

const Sample kSamples[] = {
    {qrnBarCode128, "code128", L"QRN Stellon 1.2.5"},   {qrnBarCode128A, "code128a", L"QUARENT-128A"},
    {qrnBarCode128B, "code128b", L"Code 128 b"},         {qrnBarCode128C, "code128c", L"20240615"},
    {qrnBarCode39, "code39", L"QUARENT 39"},             {qrnBarCode2of5, "2of5", L"1234567"},
    {qrnBarCode11, "code11", L"123-4567"},               {qrnBarCodeCodeabar, "codabar", L"A40156B"},
    {qrnBarCodeMSI, "msi", L"80523"},
    {qrnBarCode128, "code128-up", L"Vertically Up", qrnVerticallyUp},
    {qrnBarCode128, "code128-down", L"Vertically Down", qrnVerticallyDown},
};

constexpr int kLength = 640;
constexpr int kBreadth = 170;

// Writes the `width` x `height` top-down 32-bit `pixels` as a 24-bit BMP file.
bool WriteBmp(const std::string& path, const std::uint32_t* pixels, int width, int height) {
  const int rowBytes = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER header = {sizeof(header), width, height, 1, 24, BI_RGB};
  header.biSizeImage = rowBytes * height;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = file.bfOffBits + header.biSizeImage;
  std::vector<unsigned char> rows(header.biSizeImage);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t pixel = pixels[y * width + x];
      unsigned char* out = &rows[(height - 1 - y) * rowBytes + 3 * x];
      out[0] = pixel & 0xFF;
      out[1] = (pixel >> 8) & 0xFF;
      out[2] = (pixel >> 16) & 0xFF;
    }
  }
  FILE* stream = std::fopen(path.c_str(), "wb");
  if (stream == nullptr) return false;
  bool written = std::fwrite(&file, sizeof(file), 1, stream) == 1 && std::fwrite(&header, sizeof(header), 1, stream) == 1 &&
                 std::fwrite(rows.data(), 1, rows.size(), stream) == rows.size();
  return std::fclose(stream) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? std::string(argv[1]) + "\\" : std::string();
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  FONTDESC description = {sizeof(FONTDESC), const_cast<LPOLESTR>(L"Arial"), {{100000, 0}}, FW_NORMAL, 0, FALSE, FALSE, FALSE};
  IFontDisp* font = nullptr;
  OleCreateFontIndirect(&description, IID_IFontDisp, reinterpret_cast<void**>(&font));

  int failures = 0;
  int number = 1;
  for (const Sample& sample : kSamples) {
    const bool horizontal = sample.orientation == qrnHorizontally;
    const int width = horizontal ? kLength : kBreadth;
    const int height = horizontal ? kBreadth : kLength;
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    IQRNBarCode* control = nullptr;
    if (FAILED(CoCreateInstance(CLSID_QRNBarCode, nullptr, CLSCTX_INPROC_SERVER, IID_IQRNBarCode,
                                reinterpret_cast<void**>(&control)))) {
      std::printf("the control is not registered\n");
      return 1;
    }
    control->putref_Font(font);
    BSTR empty = SysAllocString(L"");
    BSTR caption = SysAllocString(sample.caption);
    control->put_Caption(empty);
    control->put_BarStyle(sample.style);
    control->put_BarWidth(45);
    control->put_BarAlignment(qrnCenter);
    control->put_BarOrientation(sample.orientation);
    const HRESULT accepted = control->put_Caption(caption);
    LONG cx = 0, cy = 0;
    VARIANT_BOOL sized = VARIANT_FALSE, drawn = VARIANT_FALSE, valid = VARIANT_FALSE;
    control->GetValidSize(&cx, &cy, &sized);
    const HRESULT status = control->DrawToDC(static_cast<LONG>(reinterpret_cast<LONG_PTR>(dc)), 0, 0, width, height, &drawn);
    control->get_IsBarValid(&valid);
    GdiFlush();
    const std::string file = folder + std::to_string(number) + "-" + sample.name + ".bmp";
    const bool saved = WriteBmp(file, static_cast<const std::uint32_t*>(bits), width, height);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    char text[64] = {};
    WideCharToMultiByte(CP_ACP, 0, sample.caption, -1, text, sizeof text, nullptr, nullptr);
    std::printf("  %2d %-12s \"%s\": needs %.2f x %.2f mm, %s -> %s\n", number, sample.name, text, cx / 100.0, cy / 100.0,
                SUCCEEDED(accepted) && SUCCEEDED(status) && valid == VARIANT_TRUE ? "drawn" : "NOT DRAWN",
                saved ? file.c_str() : "(file not written)");
    failures += SUCCEEDED(accepted) && SUCCEEDED(status) && valid == VARIANT_TRUE && saved ? 0 : 1;
    SysFreeString(empty);
    SysFreeString(caption);
    control->Release();
    ++number;
  }
  font->Release();
  CoUninitialize();
  return failures == 0 ? 0 : 1;
}
