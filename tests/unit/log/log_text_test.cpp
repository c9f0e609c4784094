// The text Copy and Save produce from the listed rows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/log_text.h"

namespace quarent::brnlog {
namespace {

std::optional<std::string> TextOf(const std::vector<ListedRow>& rows) {
  return BuildLogText(static_cast<int>(rows.size()), [&](int index) { return rows.at(static_cast<size_t>(index)); });
}

struct LineCase {
  const char* note;
  ListedRow row;
  std::string line;
};

TEST(LogLineTest, IndentMessageAndValue) {
  const LineCase cases[] = {
      {"no indent, no value", {0, "hello", ""}, "hello"},
      {"level 2 gives eight spaces", {2, "deep", ""}, "        deep"},
      {"value after ' = '", {1, "temp", "21"}, "    temp = 21"},
      {"continuation row keeps its own four spaces", {1, "    more", ""}, "        more"},
      {"negative indent gives none", {-3, "x", "1"}, "x = 1"},
      {"a value of one space still counts", {0, "s", " "}, "s =  "},
  };
  for (const LineCase& row : cases) {
    SCOPED_TRACE(row.note);
    EXPECT_EQ(LogLine(row.row), row.line);
  }
}

TEST(BuildLogTextTest, ThreeRowsGiveExactlyThreeLines) {
  const std::optional<std::string> text = TextOf({{0, "one", ""}, {1, "two", "2"}, {0, "three", ""}});
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(*text, std::string("one\r\n    two = 2\r\nthree\r\n"));
  EXPECT_EQ(text->find('\0'), std::string::npos);
}

TEST(BuildLogTextTest, LongLinesAreKeptWhole) {
  const std::string longValue(4095, 'v');
  const std::optional<std::string> text = TextOf({{0, "a", ""}, {3, std::string(84, 'm'), longValue}, {0, "b", ""}});
  ASSERT_TRUE(text.has_value());
  const std::string longLine = std::string(12, ' ') + std::string(84, 'm') + " = " + longValue;
  EXPECT_EQ(*text, "a\r\n" + longLine + "\r\nb\r\n");
}

TEST(BuildLogTextTest, RowCountOutsideOneTo31999GivesNoText) {
  int reads = 0;
  auto reader = [&](int) {
    ++reads;
    return ListedRow{0, "r", ""};
  };
  EXPECT_FALSE(BuildLogText(0, reader).has_value());
  EXPECT_FALSE(BuildLogText(-1, reader).has_value());
  EXPECT_FALSE(BuildLogText(32000, reader).has_value());
  EXPECT_EQ(reads, 0);
  const std::optional<std::string> most = BuildLogText(31999, reader);
  ASSERT_TRUE(most.has_value());
  EXPECT_EQ(most->size(), 31999u * 3);
  EXPECT_EQ(reads, 31999);
}

}  // namespace
}  // namespace quarent::brnlog
