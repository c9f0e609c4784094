#pragma once
// What the portable log code needs from the platform's text handling: the
// system ANSI code page and the platform's date format. The Windows shell
// answers from the platform; tests use fakes.
#include <optional>
#include <string>
#include <string_view>

namespace quarent::brnlog {

class PlatformText {
 public:
  virtual ~PlatformText() = default;
  // `text` converted to the system ANSI code page.
  virtual std::string ToAnsi(std::u16string_view text) const = 0;
  // ANSI `text` converted to 16-bit code units.
  virtual std::u16string FromAnsi(std::string_view text) const = 0;
  // True when `byte` begins a two-byte character in the ANSI code page.
  virtual bool IsLeadByte(unsigned char byte) const = 0;
  // The platform's text of a date (days since 30 December 1899, fraction = time of day).
  virtual std::string FormatDate(double date) const = 0;
  // The date that the platform reads from `text`, or nothing.
  virtual std::optional<double> ParseDate(std::string_view text) const = 0;
};

// The longest prefix of ANSI `text` of at most `maxBytes` bytes that does not
// split a two-byte character.
std::string_view LimitAnsiText(std::string_view text, size_t maxBytes, const PlatformText& platform);

}  // namespace quarent::brnlog
