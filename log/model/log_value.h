#pragma once
// A message value or category limit as the log keeps it: the variant's 16-bit
// type word and its payload, without any platform type. Only the types the
// log compares or shows carry a payload; any other type keeps its type word.
#include <cstdint>
#include <optional>
#include <string>

namespace quarent::brnlog {

// Variant type words the log knows (the platform's VT_ numbers).
enum VariantType : uint16_t {
  kVtEmpty = 0,
  kVtNull = 1,
  kVtI2 = 2,
  kVtI4 = 3,
  kVtR4 = 4,
  kVtR8 = 5,
  kVtCy = 6,
  kVtDate = 7,
  kVtBstr = 8,
  kVtBool = 11,
  kVtI1 = 16,
  kVtUI1 = 17,
  kVtUI2 = 18,
  kVtUI4 = 19,
  kVtInt = 22,
  kVtUInt = 23,
};

struct LogValue {
  uint16_t type = kVtEmpty;
  // Integer types: the variant's bits zero-extended from the type's width;
  // VT_CY: the 64-bit scaled integer (amount times 10000).
  uint64_t bits = 0;
  // VT_R4 (a single-precision value, held exactly), VT_R8 and VT_DATE.
  double real = 0;
  // VT_BSTR: the code units; nothing for a null string.
  std::optional<std::u16string> text;

  static LogValue Empty() { return {}; }
  // A value of integer type `type` from its bits (masked to the type's width).
  static LogValue Integer(uint16_t type, uint64_t bits);
  static LogValue Real(uint16_t type, double real);
  static LogValue Currency(int64_t scaled);
  static LogValue String(std::optional<std::u16string> text);
  // A value of a type the log neither compares nor shows.
  static LogValue Opaque(uint16_t type);
};

// Width in bits of an integer variant type (VT_BOOL counts as 16); 0 for any other type.
int IntegerWidth(uint16_t type);

// The bits of an integer value read as a signed number of its type's width.
int64_t SignedBits(const LogValue& value);

}  // namespace quarent::brnlog
