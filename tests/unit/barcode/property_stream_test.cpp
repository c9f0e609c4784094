// The persisted byte layout: values written and read back, and refusal of what the format
// does not allow.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "model/property_stream.h"

namespace quarent::barcode {
namespace {

class MemorySink : public ByteSink {
 public:
  std::vector<unsigned char> bytes;
  bool Write(const void* buffer, std::size_t size) override {
    const auto* data = static_cast<const unsigned char*>(buffer);
    bytes.insert(bytes.end(), data, data + size);
    return true;
  }
};

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}
  bool Read(void* buffer, std::size_t size) override {
    if (size > bytes_.size() - position_) return false;
    std::memcpy(buffer, bytes_.data() + position_, size);
    position_ += size;
    return true;
  }
  std::size_t Left() const { return bytes_.size() - position_; }

 private:
  std::vector<unsigned char> bytes_;
  std::size_t position_ = 0;
};

TEST(PropertyStream, WritesLittleEndianTaggedValues) {
  MemorySink sink;
  ASSERT_TRUE(WriteUInt32(sink, 0x300));
  ASSERT_TRUE(WriteNumberValue(sink, ValueType::UInt32, 0x80000005));
  ASSERT_TRUE(WriteNumberValue(sink, ValueType::Boolean, 0xFFFF));
  ASSERT_TRUE(WriteNumberValue(sink, ValueType::Int32, 35));
  ASSERT_TRUE(WriteStringValue(sink, u"AB", 2, false));
  ASSERT_TRUE(WriteStringValue(sink, nullptr, 0, true));
  ASSERT_TRUE(WriteStringValue(sink, u"", 0, false));
  const std::vector<unsigned char> expected = {
      0x00, 0x03, 0x00, 0x00,                                      // version
      19,   0,    0x05, 0x00, 0x00, 0x80,                          // UInt32
      11,   0,    0xFF, 0xFF,                                      // Boolean true
      3,    0,    35,   0,    0,    0,                             // Int32
      8,    0,    6,    0,    0,    0,    'A', 0, 'B', 0, 0, 0,    // "AB" and its terminator
      8,    0,    0,    0,    0,    0,                             // null string
      8,    0,    2,    0,    0,    0,    0,   0,                  // empty string
  };
  EXPECT_EQ(expected, sink.bytes);
  EXPECT_FALSE(WriteNumberValue(sink, ValueType::String, 1)) << "not a number type";
}

TEST(PropertyStream, ReadsBackWhatWasWritten) {
  MemorySink sink;
  WriteUInt32(sink, 0x300);
  WriteNumberValue(sink, ValueType::Boolean, 0xFFFF);
  WriteNumberValue(sink, ValueType::Int32, 0xFFFFFFFE);
  WriteStringValue(sink, u"x\u00e9", 2, false);
  WriteStringValue(sink, nullptr, 0, true);
  MemorySource source(sink.bytes);
  EXPECT_EQ(0x300u, ReadVersion(source).value_or(0));
  EXPECT_EQ(0xFFFFFFFFu, ReadNumberValue(source, ValueType::Boolean).value_or(0)) << "-1 widened";
  EXPECT_EQ(0xFFFFFFFEu, ReadNumberValue(source, ValueType::Int32).value_or(0));
  const std::optional<StringValue> text = ReadStringValue(source);
  ASSERT_TRUE(text.has_value());
  EXPECT_EQ(u"x\u00e9", text->text);
  EXPECT_FALSE(text->isNull);
  const std::optional<StringValue> null = ReadStringValue(source);
  ASSERT_TRUE(null.has_value());
  EXPECT_TRUE(null->isNull);
  EXPECT_EQ(0u, source.Left());
}

TEST(PropertyStream, RefusesWhatTheFormatDoesNotAllow) {
  struct Row {
    const char* name;
    std::vector<unsigned char> bytes;
    bool (*read)(ByteSource&);
  };
  auto version = [](ByteSource& source) { return ReadVersion(source).has_value(); };
  auto text = [](ByteSource& source) { return ReadStringValue(source).has_value(); };
  auto number = [](ByteSource& source) { return ReadNumberValue(source, ValueType::Int32).has_value(); };
  const Row rows[] = {
      {"version 0x301", {0x01, 0x03, 0, 0}, version},
      {"version cut short", {0x00, 0x03, 0}, version},
      {"odd byte count", {8, 0, 3, 0, 0, 0, 'A', 0, 0}, text},
      {"no terminator", {8, 0, 4, 0, 0, 0, 'A', 0, 'B', 0}, text},
      {"count beyond the data", {8, 0, 0xFE, 0xFF, 0xFF, 0xFF, 'A', 0, 0, 0}, text},
      {"string tag expected", {3, 0, 2, 0, 0, 0, 0, 0}, text},
      {"number tag expected", {19, 0, 1, 0, 0, 0}, number},
      {"number cut short", {3, 0, 1, 0, 0}, number},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MemorySource source(row.bytes);
    EXPECT_FALSE(row.read(source));
  }
  MemorySource older({0xFF, 0x02, 0, 0});
  EXPECT_EQ(0x2FFu, ReadVersion(older).value_or(0)) << "earlier versions are read";
}

TEST(PropertyStream, ThePropertyOrderIsTheSavedOrder) {
  const char* names[] = {"Font", "BackColor", "ForeColor", "AutoSize", "Caption", "Visible", "TextShow",
                         "TextPrefix", "TextSuffix", "TextAlignment", "BarAlignment", "BarOrientation", "BarWidth",
                         "BarStyle"};
  ASSERT_EQ(std::size(names), kPersistedProperties.size());
  for (std::size_t index = 0; index < kPersistedProperties.size(); ++index) {
    EXPECT_EQ(names[index], kPersistedProperties[index].name);
  }
}

}  // namespace
}  // namespace quarent::barcode
