#include "symbol_decoder.h"

#include <cstddef>
#include <map>
#include <utility>

namespace quarent::barcode::testing {
namespace {

using Widths = std::vector<int>;

// Code 128 bar/space widths of values 0..105 (ISO/IEC 15417, table 1); the stop is 2331112.
const char* const kCode128Widths[106] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122", "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123", "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331", "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131", "211412", "211214", "211232",
};

// Code 39 characters as narrow/wide elements, bar first (ISO/IEC 16388, table 1).
const std::pair<char, const char*> kCode39[] = {
    {'0', "nnnwwnwnn"}, {'1', "wnnwnnnnw"}, {'2', "nnwwnnnnw"}, {'3', "wnwwnnnnn"}, {'4', "nnnwwnnnw"},
    {'5', "wnnwwnnnn"}, {'6', "nnwwwnnnn"}, {'7', "nnnwnnwnw"}, {'8', "wnnwnnwnn"}, {'9', "nnwwnnwnn"},
    {'A', "wnnnnwnnw"}, {'B', "nnwnnwnnw"}, {'C', "wnwnnwnnn"}, {'D', "nnnnwwnnw"}, {'E', "wnnnwwnnn"},
    {'F', "nnwnwwnnn"}, {'G', "nnnnnwwnw"}, {'H', "wnnnnwwnn"}, {'I', "nnwnnwwnn"}, {'J', "nnnnwwwnn"},
    {'K', "wnnnnnnww"}, {'L', "nnwnnnnww"}, {'M', "wnwnnnnwn"}, {'N', "nnnnwnnww"}, {'O', "wnnnwnnwn"},
    {'P', "nnwnwnnwn"}, {'Q', "nnnnnnwww"}, {'R', "wnnnnnwwn"}, {'S', "nnwnnnwwn"}, {'T', "nnnnwnwwn"},
    {'U', "wwnnnnnnw"}, {'V', "nwwnnnnnw"}, {'W', "wwwnnnnnn"}, {'X', "nwnnwnnnw"}, {'Y', "wwnnwnnnn"},
    {'Z', "nwwnwnnnn"}, {'-', "nwnnnnwnw"}, {'.', "wwnnnnwnn"}, {' ', "nwwnnnwnn"}, {'$', "nwnwnwnnn"},
    {'/', "nwnwnnnwn"}, {'+', "nwnnnwnwn"}, {'%', "nnnwnwnwn"}, {'*', "nwnnwnwnn"},
};

// Code 11 characters (USS Code 11).
const std::pair<char, const char*> kCode11[] = {
    {'0', "nnnnw"}, {'1', "wnnnw"}, {'2', "nwnnw"}, {'3', "wwnnn"}, {'4', "nnwnw"}, {'5', "wnwnn"},
    {'6', "nwwnn"}, {'7', "nnnww"}, {'8', "wnnwn"}, {'9', "wnnnn"}, {'-', "nnwnn"}, {'*', "nnwwn"},
};

// Codabar characters (ANSI/AIM BC3).
const std::pair<char, const char*> kCodabar[] = {
    {'0', "nnnnnww"}, {'1', "nnnnwwn"}, {'2', "nnnwnnw"}, {'3', "wwnnnnn"}, {'4', "nnwnnwn"},
    {'5', "wnnnnwn"}, {'6', "nwnnnnw"}, {'7', "nwnnwnn"}, {'8', "nwwnnnn"}, {'9', "wnnwnnn"},
    {'-', "nnnwwnn"}, {'$', "nnwwnnn"}, {':', "wnnnwnw"}, {'/', "wnwnnnw"}, {'.', "wnwnwnn"},
    {'+', "nnwnwnw"}, {'A', "nnwwnwn"}, {'B', "nwnwnnw"}, {'C', "nnnwnww"}, {'D', "nnnwwwn"},
};

// Narrow/wide notation of widths, or "" when a width is neither 1 nor 2.
std::string NarrowWide(const Widths& widths, std::size_t first, std::size_t count) {
  std::string pattern;
  for (std::size_t index = first; index < first + count; ++index) {
    if (widths[index] == 1) pattern += 'n';
    else if (widths[index] == 2) pattern += 'w';
    else return "";
  }
  return pattern;
}

std::string Digits(const Widths& widths, std::size_t first, std::size_t count) {
  std::string digits;
  for (std::size_t index = first; index < first + count; ++index) digits += static_cast<char>('0' + widths[index]);
  return digits;
}

template <std::size_t N>
int Lookup(const std::pair<char, const char*> (&table)[N], const std::string& pattern) {
  for (const auto& [character, entry] : table) {
    if (pattern == entry) return character;
  }
  return -1;
}

DecodedSymbol Fail(std::string error) {
  DecodedSymbol result;
  result.error = std::move(error);
  return result;
}

DecodedSymbol Decode128(const Widths& widths) {
  if (widths.size() < 7 + 12 || (widths.size() - 7) % 6 != 0) return Fail("Code 128 element count");
  if (Digits(widths, widths.size() - 7, 7) != "2331112") return Fail("Code 128 stop");
  std::vector<int> values;
  for (std::size_t first = 0; first + 7 < widths.size(); first += 6) {
    const std::string pattern = Digits(widths, first, 6);
    int value = -1;
    for (int candidate = 0; candidate < 106; ++candidate) {
      if (pattern == kCode128Widths[candidate]) value = candidate;
    }
    if (value < 0) return Fail("unknown Code 128 character " + pattern);
    values.push_back(value);
  }
  long sum = values.front();
  for (std::size_t position = 1; position + 1 < values.size(); ++position) sum += values[position] * static_cast<long>(position);
  if (sum % 103 != values.back()) return Fail("Code 128 check character");

  char set = values.front() == 103 ? 'A' : values.front() == 104 ? 'B' : values.front() == 105 ? 'C' : 0;
  if (set == 0) return Fail("Code 128 start");
  DecodedSymbol result;
  for (std::size_t position = 1; position + 1 < values.size(); ++position) {
    const int value = values[position];
    if (value >= 103) return Fail("start character inside the symbol");
    if (set == 'C' && value < 100) {
      result.text += static_cast<char>('0' + value / 10);
      result.text += static_cast<char>('0' + value % 10);
    } else if (value == 99 && set != 'C') {
      set = 'C';
    } else if (value == 100 && set != 'B') {
      set = 'B';
    } else if (value == 101 && set != 'A') {
      set = 'A';
    } else if (set == 'A' && value < 64) {
      result.text += static_cast<char>(value + 32);
    } else if (set == 'B' && value < 95) {
      result.text += static_cast<char>(value + 32);
    } else {
      return Fail("Code 128 value " + std::to_string(value) + " in set " + set);
    }
  }
  result.ok = true;
  return result;
}

DecodedSymbol Decode39(const Widths& widths) {
  if (widths.size() < 20 || widths.size() % 10 != 0) return Fail("Code 39 element count");
  std::string characters;
  for (std::size_t first = 0; first < widths.size(); first += 10) {
    if (widths[first + 9] != 1) return Fail("Code 39 gap");
    const int character = Lookup(kCode39, NarrowWide(widths, first, 9));
    if (character < 0) return Fail("unknown Code 39 character");
    characters += static_cast<char>(character);
  }
  if (characters.front() != '*' || characters.back() != '*') return Fail("Code 39 start/stop");
  DecodedSymbol result;
  result.text = characters.substr(1, characters.size() - 2);
  if (result.text.find('*') != std::string::npos) return Fail("'*' inside a Code 39 symbol");
  result.ok = true;
  return result;
}

DecodedSymbol DecodeTwoOfFive(const Widths& widths) {
  if (widths.size() < 12 || (widths.size() - 12) % 10 != 0) return Fail("2 of 5 element count");
  if (NarrowWide(widths, 0, 6) != "wnwnnn") return Fail("2 of 5 start");
  if (NarrowWide(widths, widths.size() - 6, 6) != "wnnnwn") return Fail("2 of 5 stop");
  // The five bars carry the weights 1, 2, 4, 7 and 0 (parity); two are wide; 4 + 7 means 0.
  const int weights[5] = {1, 2, 4, 7, 0};
  DecodedSymbol result;
  for (std::size_t first = 6; first + 6 < widths.size(); first += 10) {
    const std::string pattern = NarrowWide(widths, first, 10);
    if (pattern.size() != 10) return Fail("2 of 5 width");
    int wide = 0;
    int sum = 0;
    for (int bar = 0; bar < 5; ++bar) {
      if (pattern[2 * bar + 1] != 'n') return Fail("wide space in 2 of 5");
      if (pattern[2 * bar] == 'w') {
        ++wide;
        sum += weights[bar];
      }
    }
    if (wide != 2) return Fail("2 of 5 digit without two wide bars");
    result.text += static_cast<char>('0' + (sum == 11 ? 0 : sum));
  }
  result.ok = true;
  return result;
}

DecodedSymbol Decode11(const Widths& widths) {
  if (widths.size() < 18 || widths.size() % 6 != 0) return Fail("Code 11 element count");
  std::string characters;
  for (std::size_t first = 0; first < widths.size(); first += 6) {
    if (widths[first + 5] != 1) return Fail("Code 11 gap");
    const int character = Lookup(kCode11, NarrowWide(widths, first, 5));
    if (character < 0) return Fail("unknown Code 11 character");
    characters += static_cast<char>(character);
  }
  if (characters.front() != '*' || characters.back() != '*') return Fail("Code 11 start/stop");
  const std::string body = characters.substr(1, characters.size() - 3);
  const char check = characters[characters.size() - 2];
  if (body.find('*') != std::string::npos || check == '*') return Fail("start/stop inside a Code 11 symbol");
  // C check over the text: weights n, n - 1, ..., 1 from the left; '-' counts 10.
  long sum = 0;
  for (std::size_t index = 0; index < body.size(); ++index) {
    const long value = body[index] == '-' ? 10 : body[index] - '0';
    sum += value * static_cast<long>(body.size() - index);
  }
  const char expected = sum % 11 == 10 ? '-' : static_cast<char>('0' + sum % 11);
  if (check != expected) return Fail(std::string("Code 11 check ") + check + ", expected " + expected);
  DecodedSymbol result;
  result.text = body;
  result.check = std::string(1, check);
  result.ok = true;
  return result;
}

DecodedSymbol DecodeCodabar(const Widths& widths) {
  if (widths.empty() || widths.size() % 8 != 0) return Fail("Codabar element count");
  DecodedSymbol result;
  for (std::size_t first = 0; first < widths.size(); first += 8) {
    if (widths[first + 7] != 1) return Fail("Codabar gap");
    const int character = Lookup(kCodabar, NarrowWide(widths, first, 7));
    if (character < 0) return Fail("unknown Codabar character");
    result.text += static_cast<char>(character);
  }
  const auto isLetter = [](char character) { return character >= 'A' && character <= 'D'; };
  if (!isLetter(result.text.front()) || !isLetter(result.text.back())) return Fail("Codabar start/stop");
  for (std::size_t index = 1; index + 1 < result.text.size(); ++index) {
    if (isLetter(result.text[index])) return Fail("Codabar letter inside the symbol");
  }
  result.ok = true;
  return result;
}

// Luhn: the digits with their check digit last are valid when, doubling every second digit
// from the right (the check digit not doubled), the digit sum is a multiple of 10.
bool LuhnValid(const std::string& digits) {
  int sum = 0;
  for (std::size_t fromRight = 0; fromRight < digits.size(); ++fromRight) {
    int value = digits[digits.size() - 1 - fromRight] - '0';
    if (fromRight % 2 == 1) {
      value *= 2;
      value = value / 10 + value % 10;
    }
    sum += value;
  }
  return sum % 10 == 0;
}

DecodedSymbol DecodeMsi(const Widths& widths) {
  if (widths.size() < 5 + 16 || (widths.size() - 5) % 8 != 0) return Fail("MSI element count");
  if (Digits(widths, 0, 2) != "21") return Fail("MSI start");
  if (Digits(widths, widths.size() - 3, 3) != "121") return Fail("MSI stop");
  std::string digits;
  for (std::size_t first = 2; first + 3 < widths.size(); first += 8) {
    int value = 0;
    for (std::size_t bit = 0; bit < 4; ++bit) {
      const std::string pair = Digits(widths, first + 2 * bit, 2);
      if (pair != "12" && pair != "21") return Fail("MSI bit " + pair);
      value = value * 2 + (pair == "21" ? 1 : 0);
    }
    if (value > 9) return Fail("MSI digit above 9");
    digits += static_cast<char>('0' + value);
  }
  if (!LuhnValid(digits)) return Fail("MSI check digit");
  DecodedSymbol result;
  result.text = digits.substr(0, digits.size() - 1);
  result.check = digits.substr(digits.size() - 1);
  result.ok = true;
  return result;
}

}  // namespace

std::vector<SymbolElement> ElementsOf(const BarCodeEncoder& encoder) {
  std::vector<SymbolElement> elements;
  encoder.ForEachElement([&](SymbolElement element) { elements.push_back(element); });
  return elements;
}

DecodedSymbol DecodeSymbol(BarStyle style, const std::vector<SymbolElement>& elements) {
  Widths widths;
  int modules = 0;
  for (std::size_t index = 0; index < elements.size(); ++index) {
    if (elements[index].isBar != (index % 2 == 0)) return Fail("bars and spaces do not alternate");
    widths.push_back(elements[index].modules);
    modules += elements[index].modules;
  }
  DecodedSymbol result;
  switch (style) {
    case BarStyle::Code128:
    case BarStyle::Code128A:
    case BarStyle::Code128B:
    case BarStyle::Code128C: result = Decode128(widths); break;
    case BarStyle::Code39: result = Decode39(widths); break;
    case BarStyle::TwoOfFive: result = DecodeTwoOfFive(widths); break;
    case BarStyle::Code11: result = Decode11(widths); break;
    case BarStyle::Codabar: result = DecodeCodabar(widths); break;
    case BarStyle::Msi: result = DecodeMsi(widths); break;
  }
  result.modules = modules;
  return result;
}

}  // namespace quarent::barcode::testing
