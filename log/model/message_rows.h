#pragma once
// The list rows of one logged message: its ANSI text cut into pieces of 80
// bytes, continuation rows indented by four spaces, with the message's image,
// indent, value text and category on the rows as the log window shows them.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/filter_model.h"
#include "model/platform_text.h"

namespace quarent::brnlog {

// Bytes of message text on one row.
constexpr size_t kRowPieceBytes = 80;
// Text put before the piece of every row after the first.
inline constexpr std::string_view kContinuationIndent = "    ";

struct MessageRows {
  // Row texts in order; there is always at least one.
  std::vector<std::string> texts;
  int image = -1;  // image of the first row; every further row has none (-1)
  int indent = 0;  // indent of every row
  std::string valueText;  // Value column of the first row
  std::string categoryText;  // Category column of the first row
};

// The ANSI text of a message: "(Null Message)" for a null text, at most 4095 bytes.
std::string MessageAnsiText(const std::optional<std::u16string>& text, const PlatformText& platform);

// Row texts of ANSI `text`: pieces of 80 bytes, each after the first behind
// four spaces; one row more when the text fills its last piece exactly (an
// empty text gives one empty row). A piece never ends inside a two-byte
// character: one whose 80th byte would be a lead byte ends before it, and the
// next piece starts with that character.
std::vector<std::string> RowTexts(std::string_view text, const PlatformText& platform);

// All rows of stored `message` in category `categoryName`.
MessageRows BuildMessageRows(const Message& message, std::u16string_view categoryName,
                             const PlatformText& platform);

}  // namespace quarent::brnlog
