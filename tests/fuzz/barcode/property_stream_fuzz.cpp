// Reads arbitrary bytes as a saved control: version, extent and the typed values in order.
// A font object other than the null class id ends the read here, as the control itself
// only hands the standard font's class id to the platform.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "model/property_stream.h"

namespace {

class BufferSource : public quarent::barcode::ByteSource {
 public:
  BufferSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Read(void* buffer, std::size_t size) override {
    if (size > size_ - position_) return false;
    std::memcpy(buffer, data_ + position_, size);
    position_ += size;
    return true;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  BufferSource source(data, size);
  if (!quarent::barcode::ReadVersion(source) || !quarent::barcode::ReadUInt32(source) || !quarent::barcode::ReadUInt32(source)) return 0;
  for (const quarent::barcode::PersistedProperty& property : quarent::barcode::kPersistedProperties) {
    switch (property.type) {
      case quarent::barcode::ValueType::Object: {
        unsigned char classId[16];
        if (!quarent::barcode::ReadTypeTag(source, property.type) || !source.Read(classId, sizeof classId)) return 0;
        for (unsigned char byte : classId) {
          if (byte != 0) return 0;
        }
        break;
      }
      case quarent::barcode::ValueType::String:
        if (!quarent::barcode::ReadStringValue(source)) return 0;
        break;
      default:
        if (!quarent::barcode::ReadNumberValue(source, property.type)) return 0;
        break;
    }
  }
  return 0;
}
