#pragma once
// The byte layout of the control's persisted properties (little-endian): the version, the
// extent, then one typed value per property in the order of kPersistedProperties.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quarent::barcode {

// Version written first; a stream of a later version is refused.
constexpr std::uint32_t kPropertyStreamVersion = 0x300;

// Variant type words of the persisted values.
enum class ValueType : std::uint16_t {
  Int32 = 3,
  String = 8,
  Object = 9,
  Boolean = 11,
  UInt32 = 19,
};

// One persisted property after the extent: its name (in a property bag), dispatch id and
// value type.
struct PersistedProperty {
  std::string_view name;
  std::int32_t dispid;
  ValueType type;
};

// Names of the extent in a property bag.
constexpr std::string_view kExtentWidthName = "_cx";
constexpr std::string_view kExtentHeightName = "_cy";

// The persisted properties in the order they are saved and loaded.
constexpr std::array<PersistedProperty, 14> kPersistedProperties{{
    {"Font", -512, ValueType::Object},
    {"BackColor", -501, ValueType::UInt32},
    {"ForeColor", -513, ValueType::UInt32},
    {"AutoSize", -500, ValueType::Boolean},
    {"Caption", -518, ValueType::String},
    {"Visible", 1, ValueType::Boolean},
    {"TextShow", 1001, ValueType::Boolean},
    {"TextPrefix", 1002, ValueType::String},
    {"TextSuffix", 1003, ValueType::String},
    {"TextAlignment", 1005, ValueType::Int32},
    {"BarAlignment", 1006, ValueType::Int32},
    {"BarOrientation", 1007, ValueType::Int32},
    {"BarWidth", 1004, ValueType::Int32},
    {"BarStyle", 1000, ValueType::Int32},
}};
static_assert(kPersistedProperties.size() == 14, "the format has 14 typed values after the extent");

// A string value: UTF-16 text; `isNull` for the null string (written with a byte count of 0).
struct StringValue {
  std::u16string text;
  bool isNull = false;
};

// Where the bytes come from; Read returns false unless all `size` bytes were read.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual bool Read(void* buffer, std::size_t size) = 0;
};

// Where the bytes go; Write returns false unless all `size` bytes were written.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool Write(const void* buffer, std::size_t size) = 0;
};

// Writers: each returns false when the sink fails.
bool WriteUInt32(ByteSink& sink, std::uint32_t value);
bool WriteTypeTag(ByteSink& sink, ValueType type);
// Tag and value of an Int32, UInt32 or Boolean (-1 or 0, written as 16 bits) value.
bool WriteNumberValue(ByteSink& sink, ValueType type, std::uint32_t value);
// Tag, byte count (terminator included; 0 for null) and UTF-16 text with its terminator.
bool WriteStringValue(ByteSink& sink, const char16_t* text, std::size_t length, bool isNull);

// Readers: each returns nothing when the source ends early or the bytes are not what the
// format allows at that place.
std::optional<std::uint32_t> ReadUInt32(ByteSource& source);
// The version, refused when later than kPropertyStreamVersion.
std::optional<std::uint32_t> ReadVersion(ByteSource& source);
// True when the next tag is `expected`.
bool ReadTypeTag(ByteSource& source, ValueType expected);
// Tag and value of an Int32, UInt32 or Boolean value (a Boolean widened with its sign).
std::optional<std::uint32_t> ReadNumberValue(ByteSource& source, ValueType type);
// Tag and value of a string: an even byte count whose last character is the terminator.
std::optional<StringValue> ReadStringValue(ByteSource& source);

}  // namespace quarent::barcode
