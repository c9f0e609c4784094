#pragma once
// Stand-ins for the platform's text handling in the unit tests: a single-byte
// code page (Latin-1: code units below 256 are their own byte, others '?') and
// a double-byte one whose lead bytes are 0x81 to 0x9F.
#include <cstdlib>
#include <string>

#include "model/platform_text.h"

namespace quarent::brnlog::fakes {

class Latin1Text : public PlatformText {
 public:
  std::string ToAnsi(std::u16string_view text) const override {
    std::string ansi;
    for (char16_t unit : text) ansi += unit < 0x100 ? static_cast<char>(unit) : '?';
    return ansi;
  }
  std::u16string FromAnsi(std::string_view text) const override {
    std::u16string wide;
    for (char byte : text) wide += static_cast<char16_t>(static_cast<unsigned char>(byte));
    return wide;
  }
  bool IsLeadByte(unsigned char) const override { return false; }
  // Dates as "date <days>", which ParseDate reads back.
  std::string FormatDate(double date) const override { return "date " + std::to_string(date); }
  std::optional<double> ParseDate(std::string_view text) const override {
    if (text.substr(0, 5) != "date ") return std::nullopt;
    return std::strtod(std::string(text.substr(5)).c_str(), nullptr);
  }
};

class DoubleByteText : public Latin1Text {
 public:
  bool IsLeadByte(unsigned char byte) const override { return byte >= 0x81 && byte <= 0x9F; }
};

// The ASCII text `text` as 16-bit code units.
inline std::u16string Wide(std::string_view text) { return Latin1Text().FromAnsi(text); }

}  // namespace quarent::brnlog::fakes
