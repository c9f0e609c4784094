// Encodes the same texts with this project's encoders and with the Zint library, style by
// style, and prints encodes per second side by side. Both produce a module row per text: Zint
// fills its symbol's encoded_data; here the encoder made by the factory (as the control makes
// it) encodes and writes its module row.
#include <zint.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "encoders/encoder_factory.h"

namespace {

struct Style {
  const char* name;
  quarent::barcode::BarStyle style;
  int zintSymbology;
  int zintOption2;  // check digit choice for Code 11 and MSI
  const char* zintName;
  std::string alphabet;
};

std::string Range(char first, char last) {
  std::string characters;
  for (char character = first; character <= last; ++character) characters += character;
  return characters;
}

std::vector<std::string> MakeTexts(const Style& style, std::size_t count) {
  std::mt19937 random(12345);
  std::vector<std::string> texts;
  for (std::size_t index = 0; index < count; ++index) {
    const std::size_t length = 4 + random() % 27;  // 4..30 characters
    std::string text;
    for (std::size_t position = 0; position < length; ++position) {
      text += style.alphabet[random() % style.alphabet.size()];
    }
    if (style.style == quarent::barcode::BarStyle::Codabar) {
      text.front() = static_cast<char>('A' + random() % 4);
      text.back() = static_cast<char>('A' + random() % 4);
    }
    texts.push_back(text);
  }
  return texts;
}

// Encodes every text once; returns the number of modules set, so the work cannot be dropped.
std::uint64_t EncodeOurs(const Style& style, const std::vector<std::string>& texts, std::vector<std::uint8_t>& row) {
  std::uint64_t bars = 0;
  for (const std::string& text : texts) {
    const auto encoder = quarent::barcode::MakeEncoder(style.style, text);
    if (!encoder || encoder->Encode() == nullptr) return 0;
    row.resize(static_cast<std::size_t>(encoder->ModuleCount()));
    const std::size_t modules = encoder->WriteModuleRow(row.data(), row.size());
    if (modules == 0) return 0;
    bars += modules;
  }
  return bars;
}

std::uint64_t EncodeZint(const Style& style, const std::vector<std::string>& texts, zint_symbol* symbol) {
  std::uint64_t width = 0;
  for (const std::string& text : texts) {
    ZBarcode_Clear(symbol);
    symbol->symbology = style.zintSymbology;
    symbol->option_2 = style.zintOption2;
    if (ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size())) >= ZINT_ERROR) {
      std::fprintf(stderr, "Zint refused \"%s\": %s\n", text.c_str(), symbol->errtxt);
      return 0;
    }
    width += static_cast<std::uint64_t>(symbol->width);
  }
  return width;
}

// CPU time of this thread in seconds: other programs on a shared machine do not count.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Encodes per second of one timed round of at least `minimum` CPU seconds; 0 on failure.
template <typename Run>
double EncodesPerSecond(std::size_t textCount, Run run, double minimum = 0.1) {
  std::size_t encodes = 0;
  const double start = ThreadSeconds();
  double elapsed = 0;
  do {
    if (run() == 0) return 0;
    encodes += textCount;
    elapsed = ThreadSeconds() - start;
  } while (elapsed < minimum);
  return static_cast<double>(encodes) / elapsed;
}

}  // namespace

int main() {
  const std::string printable = Range(' ', '~');
  const std::string digits = Range('0', '9');
  const Style styles[] = {
      {"Code 128 auto", quarent::barcode::BarStyle::Code128, BARCODE_CODE128, 0, "CODE128", printable + digits + digits},
      {"Code 128 A", quarent::barcode::BarStyle::Code128A, BARCODE_CODE128B, 0, "CODE128B", Range(' ', '_')},
      {"Code 128 B", quarent::barcode::BarStyle::Code128B, BARCODE_CODE128B, 0, "CODE128B", printable},
      {"Code 128 C", quarent::barcode::BarStyle::Code128C, BARCODE_CODE128, 0, "CODE128", digits},
      {"Code 39", quarent::barcode::BarStyle::Code39, BARCODE_CODE39, 0, "CODE39", digits + Range('A', 'Z') + " $%+-./"},
      {"2 of 5", quarent::barcode::BarStyle::TwoOfFive, BARCODE_C25IND, 0, "C25IND", digits},
      {"Code 11", quarent::barcode::BarStyle::Code11, BARCODE_CODE11, 1, "CODE11 (one check)", digits + "-"},
      {"Codabar", quarent::barcode::BarStyle::Codabar, BARCODE_CODABAR, 0, "CODABAR", digits + "$+-./:"},
      {"MSI", quarent::barcode::BarStyle::Msi, BARCODE_MSI_PLESSEY, 1, "MSI_PLESSEY (mod 10)", digits},
  };
  constexpr std::size_t kTexts = 1000;
  constexpr int kRounds = 5;

  std::printf("Zint version %d; %zu texts of 4 to 30 characters per style; thread CPU time, best of %d rounds\n",
              ZBarcode_Version(), kTexts, kRounds);
  std::printf("%-14s %-22s %14s %14s %8s\n", "style", "Zint symbology", "ours/s", "Zint/s", "ratio");
  zint_symbol* symbol = ZBarcode_Create();
  std::vector<std::uint8_t> row;
  double lowest = 1e300;
  for (const Style& style : styles) {
    const std::vector<std::string> texts = MakeTexts(style, kTexts);
    // Rounds alternate between the two so that both meet the same machine; the best counts.
    double ours = 0;
    double zint = 0;
    for (int round = 0; round < kRounds; ++round) {
      ours = std::max(ours, EncodesPerSecond(kTexts, [&] { return EncodeOurs(style, texts, row); }));
      zint = std::max(zint, EncodesPerSecond(kTexts, [&] { return EncodeZint(style, texts, symbol); }));
    }
    const double ratio = zint > 0 ? ours / zint : 0;
    lowest = std::min(lowest, ratio);
    std::printf("%-14s %-22s %14.0f %14.0f %7.1fx\n", style.name, style.zintName, ours, zint, ratio);
  }
  ZBarcode_Delete(symbol);
  std::printf("lowest ratio %.1fx (target 3x)\n", lowest);
  return 0;
}
