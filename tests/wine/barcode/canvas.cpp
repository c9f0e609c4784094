#include "canvas.h"

#include <cstdio>
#include <vector>

namespace test {

Canvas::Canvas(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<std::uint32_t*>(bits);
  previous_ = SelectObject(dc_, bitmap_);
  RECT all = {0, 0, width, height};
  FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
}

Canvas::~Canvas() {
  SelectObject(dc_, previous_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

std::uint32_t Canvas::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || bits_ == nullptr) return 0xFFFFFF;
  GdiFlush();
  return bits_[static_cast<size_t>(y) * width_ + x] & 0xFFFFFF;
}

bool Canvas::IsDark(int x, int y) const {
  const std::uint32_t pixel = Pixel(x, y);
  const int sum = static_cast<int>((pixel >> 16) & 0xFF) + static_cast<int>((pixel >> 8) & 0xFF) +
                  static_cast<int>(pixel & 0xFF);
  return sum < 3 * 128;
}

bool Canvas::SaveBmp(const std::wstring& path) const {
  const int rowBytes = (width_ * 3 + 3) & ~3;
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof(header);
  header.biWidth = width_;
  header.biHeight = height_;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = static_cast<DWORD>(rowBytes * height_);
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof(file) + sizeof(header);
  file.bfSize = file.bfOffBits + header.biSizeImage;
  std::vector<unsigned char> pixels(header.biSizeImage, 0);
  for (int y = 0; y < height_; ++y) {
    unsigned char* row = pixels.data() + static_cast<size_t>(height_ - 1 - y) * rowBytes;
    for (int x = 0; x < width_; ++x) {
      const std::uint32_t pixel = Pixel(x, y);
      row[3 * x] = static_cast<unsigned char>(pixel & 0xFF);
      row[3 * x + 1] = static_cast<unsigned char>((pixel >> 8) & 0xFF);
      row[3 * x + 2] = static_cast<unsigned char>((pixel >> 16) & 0xFF);
    }
  }
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (out == nullptr) return false;
  bool written = fwrite(&file, sizeof(file), 1, out) == 1 && fwrite(&header, sizeof(header), 1, out) == 1 &&
                 fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
  written = fclose(out) == 0 && written;
  return written;
}

}  // namespace test
