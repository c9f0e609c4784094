#include "model/property_stream.h"

#include <algorithm>

namespace quarent::barcode {
namespace {

bool WriteLittleEndian(ByteSink& sink, std::uint32_t value, std::size_t bytes) {
  unsigned char buffer[4];
  for (std::size_t index = 0; index < bytes; ++index) buffer[index] = static_cast<unsigned char>(value >> (8 * index));
  return sink.Write(buffer, bytes);
}

std::optional<std::uint32_t> ReadLittleEndian(ByteSource& source, std::size_t bytes) {
  unsigned char buffer[4] = {};
  if (!source.Read(buffer, bytes)) return std::nullopt;
  std::uint32_t value = 0;
  for (std::size_t index = 0; index < bytes; ++index) value |= std::uint32_t{buffer[index]} << (8 * index);
  return value;
}

bool IsNumberType(ValueType type) {
  return type == ValueType::Int32 || type == ValueType::UInt32 || type == ValueType::Boolean;
}

}  // namespace

bool WriteUInt32(ByteSink& sink, std::uint32_t value) { return WriteLittleEndian(sink, value, 4); }

bool WriteTypeTag(ByteSink& sink, ValueType type) {
  return WriteLittleEndian(sink, static_cast<std::uint16_t>(type), 2);
}

bool WriteNumberValue(ByteSink& sink, ValueType type, std::uint32_t value) {
  if (!IsNumberType(type) || !WriteTypeTag(sink, type)) return false;
  return WriteLittleEndian(sink, value, type == ValueType::Boolean ? 2 : 4);
}

bool WriteStringValue(ByteSink& sink, const char16_t* text, std::size_t length, bool isNull) {
  if (!WriteTypeTag(sink, ValueType::String)) return false;
  if (isNull) return WriteUInt32(sink, 0);
  const std::uint64_t byteCount = (std::uint64_t{length} + 1) * 2;
  if (byteCount > UINT32_MAX) return false;
  if (!WriteUInt32(sink, static_cast<std::uint32_t>(byteCount))) return false;
  for (std::size_t index = 0; index < length; ++index) {
    if (!WriteLittleEndian(sink, text[index], 2)) return false;
  }
  return WriteLittleEndian(sink, 0, 2);
}

std::optional<std::uint32_t> ReadUInt32(ByteSource& source) { return ReadLittleEndian(source, 4); }

std::optional<std::uint32_t> ReadVersion(ByteSource& source) {
  const std::optional<std::uint32_t> version = ReadUInt32(source);
  if (!version || *version > kPropertyStreamVersion) return std::nullopt;
  return version;
}

bool ReadTypeTag(ByteSource& source, ValueType expected) {
  const std::optional<std::uint32_t> tag = ReadLittleEndian(source, 2);
  return tag && *tag == static_cast<std::uint16_t>(expected);
}

std::optional<std::uint32_t> ReadNumberValue(ByteSource& source, ValueType type) {
  if (!IsNumberType(type) || !ReadTypeTag(source, type)) return std::nullopt;
  if (type != ValueType::Boolean) return ReadLittleEndian(source, 4);
  const std::optional<std::uint32_t> value = ReadLittleEndian(source, 2);
  if (!value) return std::nullopt;
  return static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int16_t>(*value)));
}

std::optional<StringValue> ReadStringValue(ByteSource& source) {
  if (!ReadTypeTag(source, ValueType::String)) return std::nullopt;
  const std::optional<std::uint32_t> byteCount = ReadUInt32(source);
  if (!byteCount) return std::nullopt;
  StringValue value;
  if (*byteCount == 0) {
    value.isNull = true;
    return value;
  }
  if (*byteCount % 2 != 0) return std::nullopt;
  // The count is not trusted for the allocation: the text grows only as its bytes arrive.
  std::size_t remaining = *byteCount / 2;
  constexpr std::size_t kChunkCharacters = 4096;
  unsigned char buffer[kChunkCharacters * 2];
  while (remaining > 0) {
    const std::size_t characters = std::min(remaining, kChunkCharacters);
    if (!source.Read(buffer, characters * 2)) return std::nullopt;
    for (std::size_t index = 0; index < characters; ++index) {
      value.text.push_back(static_cast<char16_t>(buffer[2 * index] | (buffer[2 * index + 1] << 8)));
    }
    remaining -= characters;
  }
  if (value.text.back() != u'\0') return std::nullopt;
  value.text.pop_back();
  return value;
}

}  // namespace quarent::barcode
