#include "encoders/code128.h"

#include <array>

namespace quarent::barcode {
namespace {

// Bar/space widths of symbol values 0..106, checked against the Code 128 symbol character
// table of ISO/IEC 15417 (values 0..105 six elements, the stop 106 seven).
constexpr std::array<std::uint32_t, 107> kPatterns = {
    212222, 222122, 222221, 121223, 121322, 131222, 122213, 122312, 132212, 221213,   // 0
    221312, 231212, 112232, 122132, 122231, 113222, 123122, 123221, 223211, 221132,   // 10
    221231, 213212, 223112, 312131, 311222, 321122, 321221, 312212, 322112, 322211,   // 20
    212123, 212321, 232121, 111323, 131123, 131321, 112313, 132113, 132311, 211313,   // 30
    231113, 231311, 112133, 112331, 132131, 113123, 113321, 133121, 313121, 211331,   // 40
    231131, 213113, 213311, 213131, 311123, 311321, 331121, 312113, 312311, 332111,   // 50
    314111, 221411, 431111, 111224, 111422, 121124, 121421, 141122, 141221, 112214,   // 60
    112412, 122114, 122411, 142112, 142211, 241211, 221114, 413111, 241112, 134111,   // 70
    111242, 121142, 121241, 114212, 124112, 124211, 411212, 421112, 421211, 212141,   // 80
    214121, 412121, 111143, 111341, 131141, 114113, 114311, 411113, 411311, 113141,   // 90
    114131, 311141, 411131, 211412, 211214, 211232, 2331112,                          // 100
};
static_assert(kPatterns.size() == 107, "Code 128 has symbol values 0..106");
static_assert(PatternsHaveShape(kPatterns, 0, 105, 6, 11, 11), "Code 128 characters are 6 elements, 11 modules");
static_assert(PatternsHaveShape(kPatterns, 106, 106, 7, 13, 13), "the Code 128 stop is 7 elements, 13 modules");
constexpr auto kElements = SplitPatterns(kPatterns);

// The three character sets; set C carries two digits per symbol character.
enum class CodeSet { A, B, C };

constexpr int kCodeC = 99;
constexpr int kCodeB = 100;
constexpr int kCodeA = 101;
constexpr int kStartA = 103;
constexpr int kStartB = 104;
constexpr int kStartC = 105;
constexpr int kStop = 106;
constexpr int kCheckModulus = 103;
constexpr std::size_t kSymbolRoomBeyondText = 36;

bool IsDigit(int character) { return character >= '0' && character <= '9'; }

// Characters that set A cannot carry: the lower-case letters and their neighbours.
bool IsOutsideSetA(int character) { return character >= 96 && character <= 127; }

char FontCharacter(int value) {
  if (value == 0) return static_cast<char>(232);
  if (value <= 94) return static_cast<char>(value + 32);
  return static_cast<char>(value + 97);
}

// Number of consecutive digits of `text` from `position` on.
std::size_t DigitRunAt(std::string_view text, std::size_t position) {
  std::size_t end = position;
  while (end < text.size() && IsDigit(text[end])) ++end;
  return end - position;
}

// Set A when no character from `position` to the end needs set B, else set B: the text then
// never has to switch between the two.
CodeSet SetAOrBFrom(std::string_view text, std::size_t position) {
  for (std::size_t index = position; index < text.size(); ++index) {
    if (IsOutsideSetA(static_cast<unsigned char>(text[index]))) return CodeSet::B;
  }
  return CodeSet::A;
}

// The start set: a fixed mode's own set; in the automatic choice set C for a text of exactly
// two digits or one that begins with four or more (an odd run leaves its last digit to set A
// or B), else set A or B.
CodeSet StartSet(Code128Mode mode, std::string_view text) {
  switch (mode) {
    case Code128Mode::SetA: return CodeSet::A;
    case Code128Mode::SetB: return CodeSet::B;
    case Code128Mode::SetC: return CodeSet::C;
    case Code128Mode::Automatic: break;
  }
  const std::size_t run = DigitRunAt(text, 0);
  if (run >= 4 || (run == 2 && text.size() == 2)) return CodeSet::C;
  return SetAOrBFrom(text, 0);
}

// The automatic choice for the characters at `position` (past the first) while `current` is
// in use: set C stays while two digits follow; set A or B changes to set C at a run of four
// or more digits, an odd run spending its first digit in the set already in use.
CodeSet NextSet(std::string_view text, std::size_t position, CodeSet current) {
  if (current == CodeSet::C) {
    const bool twoDigits = position + 1 < text.size() && IsDigit(text[position]) && IsDigit(text[position + 1]);
    return twoDigits ? CodeSet::C : SetAOrBFrom(text, position);
  }
  const std::size_t run = DigitRunAt(text, position);
  return run >= 4 && run % 2 == 0 ? CodeSet::C : current;
}

}  // namespace

class Code128Encoder::SymbolWriter {
 public:
  // Starts the symbol in `start`: the start character opens the check sum with weight 1.
  SymbolWriter(Code128Encoder& encoder, CodeSet start) : encoder_(encoder), set_(start) {
    checkSum_ = start == CodeSet::A ? kStartA : start == CodeSet::B ? kStartB : kStartC;
    encoder_.AppendValue(static_cast<std::uint8_t>(checkSum_));
  }

  // The set in use.
  CodeSet Set() const { return set_; }

  // Writes the code character that changes to `set`; nothing when it is in use already.
  void SwitchTo(CodeSet set) {
    if (set == set_) return;
    Write(set == CodeSet::A ? kCodeA : set == CodeSet::B ? kCodeB : kCodeC);
    set_ = set;
  }

  // Writes `character` (codes 32..126) in set A or B.
  void WriteCharacter(char character) { Write(static_cast<unsigned char>(character) - 32); }

  // Writes the two digits of `text` at `position` in set C.
  void WriteDigitPair(std::string_view text, std::size_t position) {
    Write((text[position] - '0') * 10 + (text[position + 1] - '0'));
  }

  // Writes the character at `position` of `text` in set A or B, or in set C the two digits
  // from there (the caller has checked that two digits follow); returns how many it took.
  std::size_t WriteAt(std::string_view text, std::size_t position) {
    if (set_ != CodeSet::C) {
      WriteCharacter(text[position]);
      return 1;
    }
    WriteDigitPair(text, position);
    return 2;
  }

  // Writes the check character and the stop and finishes the symbol.
  const std::uint8_t* Close() {
    encoder_.AppendValue(static_cast<std::uint8_t>(checkSum_ % kCheckModulus));
    encoder_.AppendValue(static_cast<std::uint8_t>(kStop));
    // Start, the written characters and the check are 11 modules each, the stop 13.
    return encoder_.FinishSymbol(11 * (written_ + 3) + 2);
  }

 private:
  // Appends one value, weighted in the check sum by its place after the start.
  void Write(int value) {
    ++written_;
    encoder_.AppendValue(static_cast<std::uint8_t>(value));
    checkSum_ += value * written_;
  }

  Code128Encoder& encoder_;
  CodeSet set_;
  int checkSum_;
  int written_ = 0;
};

Code128Encoder::Code128Encoder(Code128Mode mode) : BarCodeEncoder(kElements), mode_(mode) {
  fontString_[0] = '\0';
}

Code128Encoder::Code128Encoder(std::string_view text, Code128Mode mode)
    : BarCodeEncoder(kElements, text), mode_(mode) {
  fontString_[0] = '\0';
}

bool Code128Encoder::IsValid(std::string_view text) const {
  for (const char byte : text) {
    const int character = static_cast<unsigned char>(byte);
    if (character < 32 || character > 126) return false;
    if (mode_ == Code128Mode::SetA && IsOutsideSetA(character)) return false;
    if (mode_ == Code128Mode::SetC && !IsDigit(character)) return false;
  }
  return true;
}

const std::uint8_t* Code128Encoder::Encode() {
  if (!SourceIsEncodable()) {
    ClearSymbol();
    return nullptr;
  }
  if (mode_ == Code128Mode::SetC && SourceText().size() % 2 == 1 && !PrependToSource('0')) {
    ClearSymbol();
    return nullptr;
  }
  const std::string_view text = SourceText();
  StartSymbol(text.size() + kSymbolRoomBeyondText);
  SymbolWriter writer(*this, StartSet(mode_, text));
  switch (mode_) {
    case Code128Mode::SetA:
    case Code128Mode::SetB:
      for (const char character : text) writer.WriteCharacter(character);
      break;
    case Code128Mode::SetC:
      for (std::size_t position = 0; position < text.size(); position += 2) writer.WriteDigitPair(text, position);
      break;
    case Code128Mode::Automatic:
      // The start set already suits the first character.
      for (std::size_t position = writer.WriteAt(text, 0); position < text.size();) {
        writer.SwitchTo(NextSet(text, position, writer.Set()));
        position += writer.WriteAt(text, position);
      }
      break;
  }
  return writer.Close();
}

std::string_view Code128Encoder::FontString() {
  if (Encode() == nullptr || SymbolLength() > kMaxFontStringLength) return {};
  const std::uint8_t* symbol = Symbol();
  for (std::size_t index = 0; index < SymbolLength(); ++index) {
    fontString_[index] = FontCharacter(symbol[index]);
  }
  fontString_[SymbolLength()] = '\0';
  return std::string_view(fontString_.data(), SymbolLength());
}

}  // namespace quarent::barcode
