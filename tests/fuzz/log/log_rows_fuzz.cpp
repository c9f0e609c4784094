// Row cutting, text limits and currency reading on arbitrary bytes, under a
// double-byte code page: no byte of a message is lost or doubled, no row
// piece is longer than 80 bytes or ends inside a two-byte character, and a
// currency amount read back from its text is the same amount.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fake_platform_text.h"
#include "model/limit_entry.h"
#include "model/message_rows.h"
#include "model/value_text.h"

namespace {

using quarent::brnlog::fakes::DoubleByteText;

// True when `length` bytes from `start` of `text` end between characters,
// walking characters from the start of the text.
bool EndsBetweenCharacters(std::string_view text, size_t end, const DoubleByteText& platform) {
  size_t at = 0;
  while (at < end) at += platform.IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
  return at == end || end == text.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const DoubleByteText platform;
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const std::vector<std::string> rows = quarent::brnlog::RowTexts(text, platform);
  std::string joined;
  size_t end = 0;
  for (size_t index = 0; index < rows.size(); ++index) {
    const std::string piece = index == 0 ? rows[index] : rows[index].substr(4);
    if (index > 0 && rows[index].compare(0, 4, "    ") != 0) std::abort();
    if (piece.size() > 80) std::abort();
    joined += piece;
    end += piece.size();
    if (index + 1 < rows.size() && !EndsBetweenCharacters(text, end, platform)) std::abort();
  }
  if (joined != text) std::abort();

  const std::string_view limited = quarent::brnlog::LimitAnsiText(text, size / 2, platform);
  if (limited.size() > size / 2 || !EndsBetweenCharacters(text, limited.size(), platform)) std::abort();

  if (const std::optional<int64_t> amount = quarent::brnlog::ParseCurrencyAmount(text)) {
    if (quarent::brnlog::ParseCurrencyAmount(quarent::brnlog::CurrencyText(*amount)) != amount) std::abort();
  }
  return 0;
}
