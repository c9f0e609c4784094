// Cutting message texts into list rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_platform_text.h"
#include "model/message_rows.h"

namespace quarent::brnlog {
namespace {

using fakes::DoubleByteText;
using fakes::Latin1Text;
using fakes::Wide;
using Rows = std::vector<std::string>;

// `count` copies of character `c`.
std::string Repeat(size_t count, char c) { return std::string(count, c); }

struct RowCase {
  const char* note;
  std::string text;
  Rows rows;
};

TEST(RowTextsTest, CutsAtEightyBytesAndIndentsContinuations) {
  const std::string a80 = Repeat(80, 'a');
  const std::string b80 = Repeat(80, 'b');
  const RowCase cases[] = {
      {"empty text: one empty row", "", {""}},
      {"short text: one row", "hello", {"hello"}},
      {"79 bytes: one row", Repeat(79, 'a'), {Repeat(79, 'a')}},
      {"exactly 80: a second row of four spaces", a80, {a80, "    "}},
      {"81 bytes", a80 + "x", {a80, "    x"}},
      {"200 bytes: 80, 80, 40", a80 + b80 + Repeat(40, 'c'), {a80, "    " + b80, "    " + Repeat(40, 'c')}},
      {"160 bytes: two full rows and four spaces", a80 + b80, {a80, "    " + b80, "    "}},
  };
  for (const RowCase& row : cases) {
    SCOPED_TRACE(row.note);
    EXPECT_EQ(RowTexts(row.text, Latin1Text()), row.rows);
  }
}

TEST(RowTextsTest, NeverSplitsATwoByteCharacter) {
  const std::string pair = "\x81\x40";
  // Lead bytes double as trail bytes here, as in real double-byte code pages.
  const std::string leadPair = "\x81\x81";
  const RowCase cases[] = {
      {"lead byte at the 80th byte moves to the next row", Repeat(79, 'a') + pair + "b",
       {Repeat(79, 'a'), "    " + pair + "b"}},
      {"pair ending at the 80th byte stays", Repeat(78, 'a') + pair + "b", {Repeat(78, 'a') + pair, "    b"}},
      {"trail byte in the lead range at the 80th byte is no lead", [&] {
         std::string text;
         for (int i = 0; i < 40; ++i) text += leadPair;
         return text + "z";
       }(),
       {[&] {
          std::string text;
          for (int i = 0; i < 40; ++i) text += leadPair;
          return text;
        }(),
        "    z"}},
      {"lone lead byte at the very end is a byte of its own", Repeat(79, 'a') + "\x81", {Repeat(79, 'a') + "\x81", "    "}},
      {"shifted piece keeps eighty bytes after it", Repeat(79, 'a') + pair + Repeat(79, 'b'),
       {Repeat(79, 'a'), "    " + pair + Repeat(78, 'b'), "    b"}},
  };
  for (const RowCase& row : cases) {
    SCOPED_TRACE(row.note);
    const Rows rows = RowTexts(row.text, DoubleByteText());
    EXPECT_EQ(rows, row.rows);
    // No byte of the message is lost.
    std::string joined;
    for (size_t index = 0; index < rows.size(); ++index) joined += index == 0 ? rows[index] : rows[index].substr(4);
    EXPECT_EQ(joined, row.text);
  }
}

TEST(MessageAnsiTextTest, NullTextAndLimit) {
  const Latin1Text platform;
  EXPECT_EQ(MessageAnsiText(std::nullopt, platform), "(Null Message)");
  EXPECT_EQ(MessageAnsiText(std::u16string(), platform), "");
  EXPECT_EQ(MessageAnsiText(Wide(Repeat(5000, 'x')), platform), Repeat(4095, 'x'));
  // 4095 bytes would end inside the pair that starts at byte 4094.
  const std::string ansi = Repeat(4094, 'x') + "\x81\x40";
  EXPECT_EQ(MessageAnsiText(Wide(ansi), DoubleByteText()), Repeat(4094, 'x'));
}

TEST(BuildMessageRowsTest, FirstRowCarriesImageValueAndCategory) {
  Message message;
  message.text = Wide(Repeat(200, 'm'));
  message.indent = 3;
  message.image = 2;
  message.value = LogValue::Real(kVtR8, 1.5);
  const MessageRows rows = BuildMessageRows(message, u"Disk", Latin1Text());
  EXPECT_EQ(rows.texts, (Rows{Repeat(80, 'm'), "    " + Repeat(80, 'm'), "    " + Repeat(40, 'm')}));
  EXPECT_EQ(rows.image, 2);
  EXPECT_EQ(rows.indent, 3);
  EXPECT_EQ(rows.valueText, "1.500000");
  EXPECT_EQ(rows.categoryText, "Disk");

  Message plain;
  plain.text = std::nullopt;
  const MessageRows nullRows = BuildMessageRows(plain, u"(No Category)", Latin1Text());
  EXPECT_EQ(nullRows.texts, (Rows{"(Null Message)"}));
  EXPECT_EQ(nullRows.valueText, "");
  EXPECT_EQ(nullRows.image, -1);
}

}  // namespace
}  // namespace quarent::brnlog
