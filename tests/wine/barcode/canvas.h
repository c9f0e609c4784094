#pragma once
// A 32-bit bitmap in a memory device context, for reading back what the control painted.
#include <windows.h>

#include <cstdint>
#include <string>

namespace test {

class Canvas {
 public:
  // A white bitmap of `width` x `height` pixels selected into a memory context (96 dpi, MM_TEXT).
  Canvas(int width, int height);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC Dc() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The pixel at (x, y) as 0xRRGGBB.
  std::uint32_t Pixel(int x, int y) const;
  // True when the pixel is closer to black than to white.
  bool IsDark(int x, int y) const;
  // Writes the bitmap as a 24-bit BMP file.
  bool SaveBmp(const std::wstring& path) const;

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

}  // namespace test
