#include "model/log_value.h"

#include <utility>

namespace quarent::brnlog {

int IntegerWidth(uint16_t type) {
  switch (type) {
    case kVtI1:
    case kVtUI1:
      return 8;
    case kVtI2:
    case kVtUI2:
    case kVtBool:
      return 16;
    case kVtI4:
    case kVtUI4:
    case kVtInt:
    case kVtUInt:
      return 32;
    default:
      return 0;
  }
}

int64_t SignedBits(const LogValue& value) {
  switch (IntegerWidth(value.type)) {
    case 8:
      return static_cast<int8_t>(value.bits);
    case 16:
      return static_cast<int16_t>(value.bits);
    case 32:
      return static_cast<int32_t>(value.bits);
    default:
      return static_cast<int64_t>(value.bits);
  }
}

LogValue LogValue::Integer(uint16_t type, uint64_t bits) {
  LogValue value;
  value.type = type;
  const int width = IntegerWidth(type);
  value.bits = width == 0 ? bits : bits & ((uint64_t{1} << width) - 1);
  return value;
}

LogValue LogValue::Real(uint16_t type, double real) {
  LogValue value;
  value.type = type;
  value.real = type == kVtR4 ? static_cast<double>(static_cast<float>(real)) : real;
  return value;
}

LogValue LogValue::Currency(int64_t scaled) {
  LogValue value;
  value.type = kVtCy;
  value.bits = static_cast<uint64_t>(scaled);
  return value;
}

LogValue LogValue::String(std::optional<std::u16string> text) {
  LogValue value;
  value.type = kVtBstr;
  value.text = std::move(text);
  return value;
}

LogValue LogValue::Opaque(uint16_t type) {
  LogValue value;
  value.type = type;
  return value;
}

}  // namespace quarent::brnlog
