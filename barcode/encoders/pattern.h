#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// A pattern entry is a decimal number whose digits, read from the most significant, are the
// widths in modules of consecutive elements: bar, space, bar, ... A trailing space digit is an
// element too (the gap to the next character). The entry 0 means "no pattern".

namespace quarent::barcode {

// Largest power of ten not above `entry` (1 for entries below 10, including 0).
constexpr std::uint32_t PatternLeadingDivisor(std::uint32_t entry) {
  std::uint32_t divisor = 1;
  while (entry / divisor >= 10) divisor *= 10;
  return divisor;
}

// Number of elements of `entry`; 0 for the entry 0.
constexpr int PatternElementCount(std::uint32_t entry) {
  int count = 0;
  for (; entry != 0; entry /= 10) ++count;
  return count;
}

// Width of `entry` in modules (the sum of its digits); 0 for the entry 0.
constexpr int PatternModuleCount(std::uint32_t entry) {
  int modules = 0;
  for (; entry != 0; entry /= 10) modules += static_cast<int>(entry % 10);
  return modules;
}

// True when every entry in [first, last] has exactly `elements` elements, none of width 0,
// making minModules..maxModules modules; used to check the tables at compile time.
template <std::size_t N>
constexpr bool PatternsHaveShape(const std::array<std::uint32_t, N>& table, std::size_t first,
                                 std::size_t last, int elements, int minModules, int maxModules) {
  if (first > last || last >= N) return false;
  for (std::size_t value = first; value <= last; ++value) {
    const std::uint32_t entry = table[value];
    const int modules = PatternModuleCount(entry);
    if (PatternElementCount(entry) != elements || modules < minModules || modules > maxModules) return false;
    for (std::uint32_t rest = entry; rest != 0; rest /= 10) {
      if (rest % 10 == 0) return false;
    }
  }
  return true;
}

// The widest pattern of any table (the Code 128 stop and Code 39 characters are 13).
constexpr int kMaxPatternModules = 16;

// One pattern entry in drawing order: its elements (bar first, widths in modules) and the same
// as one byte per module (1 bar, 0 space), padded with zeros to kMaxPatternModules.
struct PatternElements {
  std::uint8_t count = 0;
  std::array<std::uint8_t, 10> widths{};
  std::uint8_t moduleCount = 0;
  std::array<std::uint8_t, kMaxPatternModules> modules{};
};

// `entry` split into its elements and modules; nothing for the entry 0. An entry wider than
// kMaxPatternModules is not a constant expression, so a table holding one does not compile.
constexpr PatternElements SplitPattern(std::uint32_t entry) {
  PatternElements elements;
  if (entry == 0) return elements;
  for (std::uint32_t divisor = PatternLeadingDivisor(entry); divisor != 0; divisor /= 10) {
    const auto width = static_cast<std::uint8_t>(entry / divisor % 10);
    const bool isBar = elements.count % 2 == 0;
    elements.widths[elements.count++] = width;
    for (std::uint8_t module = 0; module < width; ++module) elements.modules[elements.moduleCount++] = isBar ? 1 : 0;
  }
  return elements;
}

// A whole pattern table split into elements, so that walking a symbol needs no arithmetic.
template <std::size_t N>
constexpr std::array<PatternElements, N> SplitPatterns(const std::array<std::uint32_t, N>& table) {
  std::array<PatternElements, N> split{};
  for (std::size_t value = 0; value < N; ++value) split[value] = SplitPattern(table[value]);
  return split;
}

}  // namespace quarent::barcode
