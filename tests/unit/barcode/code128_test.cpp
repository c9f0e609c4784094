// Code 128: set choice, check character, module count, validation and font string. Expected
// symbols are built from named pieces; check characters are computed here from the data values.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "encoders/code128.h"

namespace quarent::barcode {
namespace {

constexpr int CODE_C = 99;
constexpr int CODE_B = 100;
constexpr int CODE_A = 101;
constexpr int START_A = 103;
constexpr int START_B = 104;
constexpr int START_C = 105;
constexpr int STOP = 106;

// A run of symbol values: a single value (a code character or a set C digit pair) or the
// characters of a string in set A or B (value = character code - 32).
struct Piece {
  Piece(int value) : values{value} {}
  Piece(const char* characters) {
    for (const char* character = characters; *character != '\0'; ++character) values.push_back(*character - 32);
  }
  std::vector<int> values;
};

// Start, data and code characters followed by the check character (weighted sum modulo 103,
// computed here) and the stop.
std::vector<int> Symbol(std::initializer_list<Piece> pieces) {
  std::vector<int> values;
  for (const Piece& piece : pieces) values.insert(values.end(), piece.values.begin(), piece.values.end());
  long sum = values.front();
  for (std::size_t position = 1; position < values.size(); ++position) sum += values[position] * static_cast<long>(position);
  values.push_back(static_cast<int>(sum % 103));
  values.push_back(STOP);
  return values;
}

std::vector<int> Encoded(Code128Encoder& encoder) {
  std::vector<int> values;
  if (encoder.Encode() == nullptr) return values;
  for (std::size_t index = 0; index <= encoder.SymbolLength(); ++index) values.push_back(encoder.Symbol()[index]);
  EXPECT_EQ(values.back(), 255) << "symbol not ended by the end marker";
  values.pop_back();
  return values;
}

struct SymbolCase {
  const char* text;
  Code128Mode mode;
  std::vector<int> expected;
  const char* note;
};

TEST(Code128Encoder, ChoosesSetsAsTheTextRequires) {
  const auto Auto = Code128Mode::Automatic;
  const SymbolCase cases[] = {
      // Digit runs at the start.
      {"12", Auto, Symbol({START_C, 12}), "two digits alone: set C"},
      {"123", Auto, Symbol({START_A, "123"}), "three digits stay in A"},
      {"1234", Auto, Symbol({START_C, 12, 34}), "four digits: set C"},
      {"12345", Auto, Symbol({START_C, 12, 34, CODE_A, "5"}), "odd leading run leaves its last digit"},
      {"12AB", Auto, Symbol({START_A, "12AB"}), "two digits before more text stay in A"},
      {"123AB", Auto, Symbol({START_A, "123AB"}), ""},
      {"1234AB", Auto, Symbol({START_C, 12, 34, CODE_A, "AB"}), ""},
      {"12345AB", Auto, Symbol({START_C, 12, 34, CODE_A, "5AB"}), ""},
      {"1234ab", Auto, Symbol({START_C, 12, 34, CODE_B, "ab"}), "lower case after C: B"},
      {"12345ab", Auto, Symbol({START_C, 12, 34, CODE_B, "5ab"}), "the odd digit goes to B"},
      {"12ab", Auto, Symbol({START_B, "12ab"}), ""},
      // Digit runs in the middle.
      {"AB12CD", Auto, Symbol({START_A, "AB12CD"}), ""},
      {"AB123CD", Auto, Symbol({START_A, "AB123CD"}), ""},
      {"AB1234CD", Auto, Symbol({START_A, "AB", CODE_C, 12, 34, CODE_A, "CD"}), ""},
      {"AB12345CD", Auto, Symbol({START_A, "AB1", CODE_C, 23, 45, CODE_A, "CD"}), "odd run spends its first digit"},
      {"AB1234cd", Auto, Symbol({START_B, "AB", CODE_C, 12, 34, CODE_B, "cd"}), "lower case ahead picks B"},
      {"A12345", Auto, Symbol({START_A, "A1", CODE_C, 23, 45}), ""},
      // Digit runs at the end.
      {"AB12", Auto, Symbol({START_A, "AB12"}), ""},
      {"AB123", Auto, Symbol({START_A, "AB123"}), ""},
      {"AB1234", Auto, Symbol({START_A, "AB", CODE_C, 12, 34}), ""},
      {"AB12345", Auto, Symbol({START_A, "AB1", CODE_C, 23, 45}), ""},
      {"ab12345", Auto, Symbol({START_B, "ab1", CODE_C, 23, 45}), ""},
      // Lower case ahead, and B kept once chosen.
      {"ABc", Auto, Symbol({START_B, "ABc"}), ""},
      {"aBCD", Auto, Symbol({START_B, "aBCD"}), "B stays without a digit run"},
      {"ab1234CD", Auto, Symbol({START_B, "ab", CODE_C, 12, 34, CODE_A, "CD"}), "after C, A when no lower case follows"},
      {"aB1234C5678d", Auto, Symbol({START_B, "aB", CODE_C, 12, 34, CODE_B, "C", CODE_C, 56, 78, CODE_B, "d"}), ""},
      {"A`", Auto, Symbol({START_B, "A`"}), "code 96 needs B"},
      {"A~", Auto, Symbol({START_B, "A~"}), "code 126 needs B"},
      {"A_", Auto, Symbol({START_A, "A_"}), "code 95 is in A"},
      // Digits only and several runs.
      {"1", Auto, Symbol({START_A, "1"}), ""},
      {"12345678", Auto, Symbol({START_C, 12, 34, 56, 78}), ""},
      {"123456789", Auto, Symbol({START_C, 12, 34, 56, 78, CODE_A, "9"}), ""},
      {"1234A5678", Auto, Symbol({START_C, 12, 34, CODE_A, "A", CODE_C, 56, 78}), ""},
      {"12345a1234", Auto, Symbol({START_C, 12, 34, CODE_B, "5a", CODE_C, 12, 34}), ""},
      {"12 34", Auto, Symbol({START_A, "12 34"}), "space is value 0"},
      // Fixed sets never switch.
      {"AB12", Code128Mode::SetA, Symbol({START_A, "AB12"}), ""},
      {"A1234", Code128Mode::SetA, Symbol({START_A, "A1234"}), ""},
      {"ab1234", Code128Mode::SetB, Symbol({START_B, "ab1234"}), ""},
      {"AB", Code128Mode::SetB, Symbol({START_B, "AB"}), ""},
      {"1234", Code128Mode::SetC, Symbol({START_C, 12, 34}), ""},
      {"123", Code128Mode::SetC, Symbol({START_C, 1, 23}), "odd length gets a leading 0"},
      {"5", Code128Mode::SetC, Symbol({START_C, 5}), ""},
      {"0099", Code128Mode::SetC, Symbol({START_C, 0, 99}), ""},
  };
  for (const SymbolCase& row : cases) {
    SCOPED_TRACE(std::string("text \"") + row.text + "\" mode " + std::to_string(static_cast<int>(row.mode)) + " " + row.note);
    Code128Encoder encoder(row.text, row.mode);
    EXPECT_EQ(Encoded(encoder), row.expected);
    // 11 modules per character, 13 for the stop.
    EXPECT_EQ(encoder.ModuleCount(), static_cast<int>(11 * (row.expected.size() - 1) + 13));
  }
}

TEST(Code128Encoder, CheckCharacterAndModuleCountOfKnownSymbols) {
  struct Case {
    const char* text;
    Code128Mode mode;
    int check;
    int symbolCharacters;  // start to stop
    int modules;
  };
  const Case cases[] = {
      {"12", Code128Mode::Automatic, 14, 4, 46},        // (105 + 12) mod 103
      {"AB", Code128Mode::Automatic, 101, 5, 57},       // (103 + 33 + 2 * 34) mod 103
      {"A12345", Code128Mode::Automatic, 63, 8, 90},    // 103 + 33 + 2*17 + 3*99 + 4*23 + 5*45 = 784
      {"a", Code128Mode::SetB, 66, 4, 46},              // (104 + 65) mod 103
      {"123", Code128Mode::SetC, 49, 5, 57},            // 105 + 1 + 2*23 = 152
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.text);
    Code128Encoder encoder(row.text, row.mode);
    const std::vector<int> values = Encoded(encoder);
    ASSERT_EQ(static_cast<int>(values.size()), row.symbolCharacters);
    EXPECT_EQ(values[values.size() - 2], row.check);
    EXPECT_EQ(values.back(), STOP);
    EXPECT_EQ(encoder.ModuleCount(), row.modules);
  }
}

TEST(Code128Encoder, ValidatesCharacterSetOfEachMode) {
  struct Case {
    std::string text;
    bool automatic, setA, setB, setC;
  };
  const Case cases[] = {
      {"", true, true, true, true},
      {"0123456789", true, true, true, true},
      {"AZ _^!", true, true, true, false},
      {"a", true, false, true, false},
      {"`{|}~", true, false, true, false},
      {"1A", true, true, true, false},
      {"1 2", true, true, true, false},
      {"\t", false, false, false, false},
      {"A\x7f", false, false, false, false},
      {"\x80", false, false, false, false},
      {"12\xff", false, false, false, false},
      {std::string("12\0" "34", 5), false, false, false, false},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE("text of " + std::to_string(row.text.size()) + " bytes: " + row.text);
    EXPECT_EQ(Code128Encoder(Code128Mode::Automatic).IsValid(row.text), row.automatic);
    EXPECT_EQ(Code128Encoder(Code128Mode::SetA).IsValid(row.text), row.setA);
    EXPECT_EQ(Code128Encoder(Code128Mode::SetB).IsValid(row.text), row.setB);
    EXPECT_EQ(Code128Encoder(Code128Mode::SetC).IsValid(row.text), row.setC);
    // A text that fails validation is never encoded.
    Code128Encoder encoder(row.text, Code128Mode::Automatic);
    EXPECT_EQ(encoder.Encode() != nullptr, row.automatic && !row.text.empty());
  }
}

TEST(Code128Encoder, EncodesNothingForEmptyOrInvalidText) {
  for (const char* text : {"", "a", "\x1b"}) {
    SCOPED_TRACE(text);
    Code128Encoder encoder(text, Code128Mode::SetA);
    EXPECT_EQ(encoder.Encode(), nullptr);
    EXPECT_EQ(encoder.Symbol(), nullptr);
    EXPECT_EQ(encoder.ModuleCount(), 0);
    EXPECT_TRUE(encoder.FontString().empty());
  }
}

TEST(Code128Encoder, SetCPutsOneLeadingZeroInFrontOfAnOddText) {
  Code128Encoder encoder("12345", Code128Mode::SetC);
  ASSERT_NE(encoder.Encode(), nullptr);
  EXPECT_EQ(encoder.SourceText(), "012345");
  ASSERT_NE(encoder.Encode(), nullptr);  // a second run leaves the now even text alone
  EXPECT_EQ(encoder.SourceText(), "012345");
  EXPECT_EQ(Encoded(encoder), Symbol({START_C, 1, 23, 45}));
}

std::string Bytes(std::initializer_list<int> codes) {
  std::string bytes;
  for (int code : codes) bytes += static_cast<char>(code);
  return bytes;
}

TEST(Code128Encoder, FontStringMapsEverySymbolCharacter) {
  struct Case {
    const char* text;
    Code128Mode mode;
    std::string expected;
  };
  const Case cases[] = {
      // START A 200, 'A' 65, 'B' 66, check 101 as 198, stop 203.
      {"AB", Code128Mode::Automatic, Bytes({200, 65, 66, 198, 203})},
      // Value 0 (the space, and here the check 104 + 0 + 2 * 51 = 206 = 2 * 103) is 232.
      {" S", Code128Mode::SetB, Bytes({201, 232, 83, 232, 203})},
      // Value 94 ('~') is the last to take + 32; check (104 + 94) mod 103 = 95 is the first + 97.
      {"~", Code128Mode::SetB, Bytes({201, 126, 192, 203})},
      // Set C pair 95 is 192; check (105 + 95) mod 103 = 97 is 194.
      {"95", Code128Mode::SetC, Bytes({202, 192, 194, 203})},
      // CODE B is 197; check (105 + 12 + 2*34 + 3*100 + 4*65) mod 103 = 24 is 56.
      {"1234a", Code128Mode::Automatic, Bytes({202, 44, 66, 197, 97, 56, 203})},
      // CODE A 198 after set C, CODE C 196 after set A; check
      // 105 + 12 + 2*34 + 3*101 + 4*33 + 5*99 + 6*56 + 7*78 = 1997, mod 103 = 40, is 72.
      {"1234A5678", Code128Mode::Automatic, Bytes({202, 44, 66, 198, 65, 196, 88, 110, 72, 203})},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.text);
    Code128Encoder encoder(row.text, row.mode);
    EXPECT_EQ(std::string(encoder.FontString()), row.expected);
  }
}

TEST(Code128Encoder, FontStringOfTheLongestTextsFitsItsLimit) {
  Code128Encoder setB(std::string(255, 'x'), Code128Mode::SetB);
  EXPECT_EQ(setB.FontString().size(), 255u + 3u);
  Code128Encoder setC(std::string(255, '7'), Code128Mode::SetC);
  EXPECT_EQ(setC.FontString().size(), 128u + 3u);
  // Many set changes: each change needs a four-digit run, so the string stays short of 299.
  std::string alternating;
  while (alternating.size() + 5 <= 255) alternating += "a1234";
  Code128Encoder automatic(alternating, Code128Mode::Automatic);
  const std::size_t length = automatic.FontString().size();
  EXPECT_GT(length, alternating.size());
  EXPECT_LE(length, Code128Encoder::kMaxFontStringLength);
}

}  // namespace
}  // namespace quarent::barcode
