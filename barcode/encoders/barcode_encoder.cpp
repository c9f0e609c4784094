#include "encoders/barcode_encoder.h"

#include <algorithm>
#include <cstring>

namespace quarent::barcode {

BarCodeEncoder::BarCodeEncoder(const PatternElements* patterns, std::size_t patternCount,
                               std::string_view text)
    : patterns_(patterns), patternCount_(patternCount) {
  sourceText_[0] = '\0';
  if (text.size() > kMaxSourceLength) {
    // Cutting the text would encode something else than asked: keep none and never encode.
    sourceTooLong_ = true;
    return;
  }
  std::copy(text.begin(), text.end(), sourceText_.begin());
  sourceLength_ = text.size();
  sourceText_[sourceLength_] = '\0';
}

BarCodeEncoder::~BarCodeEncoder() = default;

bool BarCodeEncoder::GetSize(std::int32_t moduleWidth, Extent& extent, Orientation orientation) const {
  if (moduleCount_ <= 0 || moduleWidth <= 0) return false;
  const std::int64_t symbolLength = std::int64_t{moduleWidth} * moduleCount_;
  const std::int64_t length = symbolLength + 2 * std::int64_t{quietZone_};
  std::int64_t height = 1 + (15 * symbolLength) / 100;
  if (height < quietZone_) height = quietZone_;
  if (length > INT32_MAX || height > INT32_MAX) return false;
  if (orientation == Orientation::Horizontally) {
    extent.cx = static_cast<std::int32_t>(length);
    extent.cy = static_cast<std::int32_t>(height);
  } else {
    extent.cx = static_cast<std::int32_t>(height);
    extent.cy = static_cast<std::int32_t>(length);
  }
  return true;
}

bool BarCodeEncoder::AllDigits(std::string_view text) {
  for (const char character : text) {
    if (character < '0' || character > '9') return false;
  }
  return true;
}

bool BarCodeEncoder::SourceIsEncodable() const {
  return !sourceTooLong_ && sourceLength_ > 0 && IsValid(SourceText());
}

bool BarCodeEncoder::PrependToSource(char character) {
  if (sourceLength_ + 1 >= sourceText_.size()) return false;
  std::memmove(sourceText_.data() + 1, sourceText_.data(), sourceLength_ + 1);
  sourceText_[0] = character;
  ++sourceLength_;
  return true;
}

std::size_t BarCodeEncoder::WriteModuleRow(std::uint8_t* row, std::size_t capacity) const {
  std::size_t position = 0;
  for (std::size_t index = 0; index < symbolLength_; ++index) {
    const std::uint8_t value = symbol_[index];
    if (value >= patternCount_) continue;
    const PatternElements& pattern = patterns_[value];
    if (capacity - position >= pattern.modules.size()) {
      // Copying the whole padded pattern is cheaper than copying its exact width; the padding
      // is overwritten by the next character.
      std::memcpy(row + position, pattern.modules.data(), pattern.modules.size());
    } else if (capacity - position >= pattern.moduleCount) {
      std::memcpy(row + position, pattern.modules.data(), pattern.moduleCount);
    } else {
      return 0;
    }
    position += pattern.moduleCount;
  }
  return position;
}

void BarCodeEncoder::ClearSymbol() {
  symbolCapacity_ = 0;
  symbolLength_ = 0;
  symbolOverflowed_ = false;
  hasSymbol_ = false;
  moduleCount_ = 0;
}

void BarCodeEncoder::StartSymbol(std::size_t capacity) {
  ClearSymbol();
  if (capacity > symbol_.size()) {
    symbolOverflowed_ = true;
    return;
  }
  symbolCapacity_ = capacity;
  // The first four values read as the end marker until written.
  std::fill_n(symbol_.begin(), capacity < 4 ? capacity : 4, kEndOfSymbol);
}

const std::uint8_t* BarCodeEncoder::FinishSymbol(std::int32_t moduleCount) {
  if (symbolOverflowed_ || symbolCapacity_ == 0) {
    ClearSymbol();
    return nullptr;
  }
  symbol_[symbolLength_] = kEndOfSymbol;
  hasSymbol_ = true;
  moduleCount_ = moduleCount;
  return symbol_.data();
}

}  // namespace quarent::barcode
