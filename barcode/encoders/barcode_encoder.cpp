#include "encoders/barcode_encoder.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace barcode {

BarCodeEncoder::BarCodeEncoder(const std::uint32_t* patterns, std::size_t patternCount,
                               std::string_view text)
    : patterns_(patterns), patternCount_(patternCount) {
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

void BarCodeEncoder::ClearSymbol() {
  symbol_.clear();
  symbolLength_ = 0;
  symbolOverflowed_ = false;
  moduleCount_ = 0;
}

void BarCodeEncoder::StartSymbol(std::size_t capacity) {
  ClearSymbol();
  try {
    symbol_.assign(capacity, kEndOfSymbol);
  } catch (const std::bad_alloc&) {
    // Reported like any other failure to encode: Encode returns nullptr.
    symbol_.clear();
    symbolOverflowed_ = true;
  }
}

void BarCodeEncoder::AppendValue(std::uint8_t value) {
  // The last slot is kept for the end marker.
  if (symbolLength_ + 1 >= symbol_.size()) {
    symbolOverflowed_ = true;
    return;
  }
  symbol_[symbolLength_++] = value;
}

const std::uint8_t* BarCodeEncoder::FinishSymbol(std::int32_t moduleCount) {
  if (symbolOverflowed_ || symbol_.empty()) {
    ClearSymbol();
    return nullptr;
  }
  symbol_[symbolLength_] = kEndOfSymbol;
  moduleCount_ = moduleCount;
  return symbol_.data();
}

}  // namespace barcode
