#include "model/message_rows.h"

#include "model/value_text.h"

namespace quarent::brnlog {
namespace {

// Length of the piece that starts at `start` (a character boundary) of a text
// with at least 80 bytes left.
size_t PieceLength(std::string_view text, size_t start, const PlatformText& platform) {
  const size_t last = start + kRowPieceBytes - 1;
  size_t at = start;
  while (at < last) at += platform.IsLeadByte(static_cast<unsigned char>(text[at])) ? 2 : 1;
  const bool lastStartsPair = at == last && last + 1 < text.size() &&
                              platform.IsLeadByte(static_cast<unsigned char>(text[last]));
  return lastStartsPair ? kRowPieceBytes - 1 : kRowPieceBytes;
}

}  // namespace

std::string MessageAnsiText(const std::optional<std::u16string>& text, const PlatformText& platform) {
  if (!text) return "(Null Message)";
  const std::string ansi = platform.ToAnsi(*text);
  return std::string(LimitAnsiText(ansi, kMaxTextBytes, platform));
}

std::vector<std::string> RowTexts(std::string_view text, const PlatformText& platform) {
  std::vector<std::string> rows;
  size_t start = 0;
  auto addRow = [&](std::string_view piece) {
    rows.push_back(rows.empty() ? std::string(piece) : std::string(kContinuationIndent) + std::string(piece));
  };
  while (text.size() - start >= kRowPieceBytes) {
    const size_t length = PieceLength(text, start, platform);
    addRow(text.substr(start, length));
    start += length;
  }
  addRow(text.substr(start));
  return rows;
}

MessageRows BuildMessageRows(const Message& message, std::u16string_view categoryName,
                             const PlatformText& platform) {
  MessageRows rows;
  rows.texts = RowTexts(MessageAnsiText(message.text, platform), platform);
  rows.image = message.image;
  rows.indent = message.indent;
  rows.valueText = ValueText(message.value, platform);
  rows.categoryText = std::string(LimitAnsiText(platform.ToAnsi(categoryName), kMaxTextBytes, platform));
  return rows;
}

}  // namespace quarent::brnlog
