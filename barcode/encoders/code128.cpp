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

}  // namespace

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
  fontStringLength_ = 0;
  fontString_[0] = '\0';
  if (!SourceIsEncodable()) {
    ClearSymbol();
    return nullptr;
  }
  currentCharacter_ = 0;
  readPosition_ = 0;
  currentSet_ = 0;
  symbolCount_ = 0;
  checkSum_ = 0;
  awaitingStart_ = true;

  if (mode_ == Code128Mode::SetC && SourceText().size() % 2 == 1 && !PrependToSource('0')) {
    ClearSymbol();
    return nullptr;
  }
  sourceLength_ = static_cast<int>(SourceText().size());
  StartSymbol(SourceText().size() + kSymbolRoomBeyondText);
  ReadNext();

  switch (mode_) {
    case Code128Mode::SetA:
    case Code128Mode::SetB:
      SelectSet(mode_ == Code128Mode::SetA ? 'A' : 'B');
      while (currentCharacter_ != -1) WriteCharacter();
      break;
    case Code128Mode::SetC:
      SelectSet('C');
      WriteDigitPairs(sourceLength_ / 2);
      break;
    case Code128Mode::Automatic:
      EncodeAutomatic();
      break;
  }
  return Close();
}

std::string_view Code128Encoder::FontString() {
  if (Encode() == nullptr || SymbolLength() > kMaxFontStringLength) return {};
  const std::uint8_t* symbol = Symbol();
  for (std::size_t index = 0; index < SymbolLength(); ++index) {
    fontString_[index] = FontCharacter(symbol[index]);
  }
  fontStringLength_ = SymbolLength();
  fontString_[fontStringLength_] = '\0';
  return std::string_view(fontString_.data(), fontStringLength_);
}

void Code128Encoder::ReadNext() {
  const std::string_view text = SourceText();
  if (readPosition_ >= sourceLength_) {
    currentCharacter_ = -1;
    return;
  }
  currentCharacter_ = static_cast<unsigned char>(text[static_cast<std::size_t>(readPosition_)]);
  ++readPosition_;
}

int Code128Encoder::DigitRunAt(int position) const {
  const std::string_view text = SourceText();
  int run = 0;
  while (position + run < sourceLength_ && IsDigit(text[static_cast<std::size_t>(position + run)])) ++run;
  return run;
}

bool Code128Encoder::NoLowerCaseFrom(int position) const {
  const std::string_view text = SourceText();
  for (int index = position; index < sourceLength_; ++index) {
    if (IsOutsideSetA(static_cast<unsigned char>(text[static_cast<std::size_t>(index)]))) return false;
  }
  return true;
}

void Code128Encoder::SelectSet(char set) {
  if (awaitingStart_) {
    awaitingStart_ = false;
    const int start = set == 'A' ? kStartA : set == 'B' ? kStartB : kStartC;
    AppendValue(static_cast<std::uint8_t>(start));
    checkSum_ = start;
  } else if (set != currentSet_) {
    WriteValue(set == 'A' ? kCodeA : set == 'B' ? kCodeB : kCodeC);
  }
  currentSet_ = set;
}

void Code128Encoder::ChooseSetAOrB() {
  // The current character sits just before the read position.
  SelectSet(NoLowerCaseFrom(readPosition_ - 1) ? 'A' : 'B');
}

void Code128Encoder::WriteCharacter() {
  WriteValue(currentCharacter_ - 32);
  ReadNext();
}

void Code128Encoder::WriteDigitPairs(int pairs) {
  const std::string_view text = SourceText();
  for (int pair = 0; pair < pairs; ++pair) {
    if (!IsDigit(currentCharacter_) || readPosition_ >= sourceLength_ ||
        !IsDigit(text[static_cast<std::size_t>(readPosition_)])) {
      return;
    }
    WriteValue((currentCharacter_ - '0') * 10 + (text[static_cast<std::size_t>(readPosition_)] - '0'));
    ReadNext();
    ReadNext();
  }
}

void Code128Encoder::WriteValue(int value) {
  ++symbolCount_;
  AppendValue(static_cast<std::uint8_t>(value));
  checkSum_ += value * symbolCount_;
}

void Code128Encoder::EncodeAutomatic() {
  const int leadingRun = DigitRunAt(0);
  if (leadingRun == 2 && sourceLength_ == 2) {
    SelectSet('C');
    WriteDigitPairs(1);
    return;
  }
  if (leadingRun < 4) {
    ChooseSetAOrB();
  } else {
    // An odd leading run leaves its last digit for set A or B.
    SelectSet('C');
    WriteDigitPairs(leadingRun / 2);
    if (leadingRun % 2 == 1) {
      ChooseSetAOrB();
      WriteCharacter();
    }
  }
  while (currentCharacter_ != -1) {
    const int run = DigitRunAt(readPosition_ - 1);
    if (run >= 4 && currentSet_ != 'C') {
      // An odd run later in the text spends its first digit in the current set.
      if (run % 2 == 1) WriteCharacter();
      SelectSet('C');
      WriteDigitPairs(run / 2);
      continue;
    }
    if (currentSet_ == 'C') ChooseSetAOrB();
    WriteCharacter();
  }
}

const std::uint8_t* Code128Encoder::Close() {
  AppendValue(static_cast<std::uint8_t>(checkSum_ % kCheckModulus));
  AppendValue(static_cast<std::uint8_t>(kStop));
  return FinishSymbol(11 * (symbolCount_ + 3) + 2);
}

}  // namespace quarent::barcode
