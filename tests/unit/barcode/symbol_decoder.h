#pragma once

#include <string>
#include <vector>

#include "encoders/barcode_encoder.h"
#include "encoders/barcode_types.h"

// A reader of bar/space width sequences, written from the published symbology tables and
// independent of the encoders' own tables, so that encoding and decoding check each other.

namespace quarent::barcode::testing {

struct DecodedSymbol {
  bool ok = false;
  std::string text;     // decoded text, without start/stop and check characters (Codabar keeps its letters)
  std::string check;    // the check character read (Code 11, MSI), verified
  std::string error;    // why decoding failed
  int modules = 0;      // total width of the elements read
};

// The elements of `encoder`'s symbol in drawing order.
std::vector<SymbolElement> ElementsOf(const BarCodeEncoder& encoder);

// Reads `elements` as a symbol of `style`, checking start, stop and check characters.
DecodedSymbol DecodeSymbol(BarStyle style, const std::vector<SymbolElement>& elements);

}  // namespace quarent::barcode::testing
