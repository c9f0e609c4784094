// Persistence of QRNBarCode: stream round trip and byte layout, storage, property bag, and
// refusal of later versions, truncated and corrupted data.
#include <windows.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "QRNBC10_h.h"
#include "com_client.h"
#include "persistence_support.h"
#include "test_container.h"

namespace {

using test::ChangeEverything;
using test::Hex;
using test::MemoryBag;
using test::Snapshot;
using test::StreamBytes;
using test::StreamOf;

std::vector<BYTE> SaveToBytes(IQRNBarCode* control) {
  IPersistStreamInit* persist = nullptr;
  control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist));
  ULARGE_INTEGER announced = {};
  EXPECT_EQ(S_OK, persist->GetSizeMax(&announced));
  IStream* stream = StreamOf({});
  EXPECT_EQ(S_OK, persist->Save(stream, TRUE));
  std::vector<BYTE> bytes = StreamBytes(stream);
  EXPECT_EQ(announced.QuadPart, bytes.size()) << "GetSizeMax gives the size Save writes";
  stream->Release();
  persist->Release();
  return bytes;
}

HRESULT LoadFromBytes(IQRNBarCode* control, const std::vector<BYTE>& bytes) {
  IPersistStreamInit* persist = nullptr;
  control->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist));
  IStream* stream = StreamOf(bytes);
  const HRESULT status = persist->Load(stream);
  stream->Release();
  persist->Release();
  return status;
}

class PersistenceTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test::RegisterBarCodeServer()); }
};

TEST_F(PersistenceTest, AStreamSavedAndLoadedGivesTheSameProperties) {
  test::HostedControl source;
  ASSERT_TRUE(ChangeEverything(source));
  IPersistStreamInit* persist = source.As<IPersistStreamInit>(IID_IPersistStreamInit);
  EXPECT_EQ(S_OK, persist->IsDirty());
  const std::vector<BYTE> bytes = SaveToBytes(source.Get());
  EXPECT_EQ(S_FALSE, persist->IsDirty());
  persist->Release();

  test::HostedControl target;
  const std::string before = Snapshot(target.Get());
  ASSERT_EQ(S_OK, LoadFromBytes(target.Get(), bytes));
  EXPECT_EQ(Snapshot(source.Get()), Snapshot(target.Get()));
  EXPECT_NE(before, Snapshot(target.Get()));
}

// Reads the saved bytes field by field.
class ByteReader {
 public:
  explicit ByteReader(const std::vector<BYTE>& bytes) : bytes_(bytes) {}
  unsigned Take(int count) {
    unsigned value = 0;
    for (int index = 0; index < count; ++index) {
      value |= static_cast<unsigned>(At(position_ + index)) << (8 * index);
    }
    position_ += count;
    return value;
  }
  std::wstring TakeText(unsigned byteCount) {
    std::wstring text;
    for (unsigned index = 0; index + 2 <= byteCount; index += 2) text += static_cast<wchar_t>(Take(2));
    return text;
  }
  size_t Position() const { return position_; }

 private:
  BYTE At(size_t index) const { return index < bytes_.size() ? bytes_[index] : 0xEE; }
  const std::vector<BYTE>& bytes_;
  size_t position_ = 0;
};

TEST_F(PersistenceTest, TheStreamLayoutIsCheckedFieldByField) {
  test::HostedControl control;
  IOleObject* object = control.As<IOleObject>(IID_IOleObject);
  SIZEL extent = {0x1234, 0x0567};
  ASSERT_EQ(S_OK, object->SetExtent(DVASPECT_CONTENT, &extent));
  object->Release();
  test::Bstr suffix(L"s");
  ASSERT_EQ(S_OK, control->put_TextSuffix(suffix.Get()));
  const std::vector<BYTE> bytes = SaveToBytes(control.Get());
  ByteReader reader(bytes);
  EXPECT_EQ(0x300u, reader.Take(4)) << "version";
  EXPECT_EQ(0x1234u, reader.Take(4)) << "_cx";
  EXPECT_EQ(0x0567u, reader.Take(4)) << "_cy";
  EXPECT_EQ(9u, reader.Take(2)) << "Font: dispatch";
  // The standard font's class id {0BE35203-8F91-11CE-9DE3-00AA004BB851}, then its data:
  // version, character set, style flags, weight, size, name length and name.
  EXPECT_EQ(0x0BE35203u, reader.Take(4));
  EXPECT_EQ(0x11CE8F91u, reader.Take(4));
  EXPECT_EQ(0xAA00E39Du, reader.Take(4));
  EXPECT_EQ(0x51B84B00u, reader.Take(4));
  EXPECT_EQ(1u, reader.Take(1)) << "font data version";
  EXPECT_EQ(0u, reader.Take(2)) << "character set";
  reader.Take(1);
  EXPECT_EQ(400u, reader.Take(2)) << "weight";
  reader.Take(4);
  const unsigned nameLength = reader.Take(1);
  reader.Take(static_cast<int>(nameLength));
  struct Field {
    const char* name;
    unsigned type;
    int size;
    unsigned value;
  };
  const Field numbersBeforeCaption[] = {
      {"BackColor", 19, 4, 0xFFFFFF}, {"ForeColor", 19, 4, 0}, {"AutoSize", 11, 2, 0}};
  for (const Field& field : numbersBeforeCaption) {
    SCOPED_TRACE(field.name);
    EXPECT_EQ(field.type, reader.Take(2));
    EXPECT_EQ(field.value, reader.Take(field.size));
  }
  EXPECT_EQ(8u, reader.Take(2)) << "Caption: string";
  EXPECT_EQ(16u, reader.Take(4)) << "7 characters and the terminator";
  EXPECT_EQ(std::wstring(L"QUARENT", 7) + L'\0', reader.TakeText(16));
  const Field flags[] = {{"Visible", 11, 2, 0xFFFF}, {"TextShow", 11, 2, 0xFFFF}};
  for (const Field& field : flags) {
    SCOPED_TRACE(field.name);
    EXPECT_EQ(field.type, reader.Take(2));
    EXPECT_EQ(field.value, reader.Take(field.size));
  }
  EXPECT_EQ(8u, reader.Take(2)) << "TextPrefix";
  EXPECT_EQ(0u, reader.Take(4)) << "a null string";
  EXPECT_EQ(8u, reader.Take(2)) << "TextSuffix";
  EXPECT_EQ(4u, reader.Take(4));
  EXPECT_EQ(std::wstring(L"s") + L'\0', reader.TakeText(4));
  const Field numbers[] = {{"TextAlignment", 3, 4, 3}, {"BarAlignment", 3, 4, 1}, {"BarOrientation", 3, 4, 1},
                           {"BarWidth", 3, 4, 35},     {"BarStyle", 3, 4, 1}};
  for (const Field& field : numbers) {
    SCOPED_TRACE(field.name);
    EXPECT_EQ(field.type, reader.Take(2));
    EXPECT_EQ(field.value, reader.Take(field.size));
  }
  EXPECT_EQ(bytes.size(), reader.Position()) << "nothing follows";
}

TEST_F(PersistenceTest, RefusesALaterVersionAndEveryTruncation) {
  test::HostedControl source;
  ASSERT_TRUE(ChangeEverything(source));
  const std::vector<BYTE> bytes = SaveToBytes(source.Get());

  std::vector<BYTE> later = bytes;
  later[0] = 0x01;  // 0x301
  test::HostedControl refusing;
  const std::string untouched = Snapshot(refusing.Get());
  EXPECT_TRUE(FAILED(LoadFromBytes(refusing.Get(), later)));
  EXPECT_EQ(untouched, Snapshot(refusing.Get()));

  for (size_t length = 0; length < bytes.size(); ++length) {
    SCOPED_TRACE(length);
    test::HostedControl target;
    const HRESULT status = LoadFromBytes(target.Get(), std::vector<BYTE>(bytes.begin(), bytes.begin() + length));
    EXPECT_TRUE(FAILED(status)) << Hex(status);
  }
}

TEST_F(PersistenceTest, RefusesCorruptedStreams) {
  test::HostedControl source;
  const std::vector<BYTE> bytes = SaveToBytes(source.Get());
  // Offsets in the default control's stream: 12 the font's tag, 14 its class id; the font
  // data of "Arial Narrow"-like names varies, so later fields are found from the end.
  const size_t barStyleTag = bytes.size() - 6;
  const size_t barWidthValue = bytes.size() - 8;
  struct Row {
    const char* name;
    size_t offset;
    BYTE value;
  };
  const Row rows[] = {
      {"font tag", 12, 8},
      {"font class id: another class", 14, 0x00},
      {"BarStyle tag", barStyleTag, 19},
      {"BarWidth 300", barWidthValue, 0x2C},  // 0x12C
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<BYTE> corrupted = bytes;
    corrupted[row.offset] = row.value;
    if (std::string(row.name) == "BarWidth 300") corrupted[row.offset + 1] = 0x01;
    test::HostedControl target;
    EXPECT_TRUE(FAILED(LoadFromBytes(target.Get(), corrupted)));
  }

  // Random corruptions for a bounded time: every load returns, successful or not.
  std::mt19937 random(20240601);
  const DWORD end = GetTickCount() + 3000;
  int loads = 0;
  test::HostedControl target;
  while (GetTickCount() < end) {
    std::vector<BYTE> corrupted = bytes;
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int change = 0; change < changes; ++change) {
      corrupted[random() % corrupted.size()] = static_cast<BYTE>(random());
    }
    if (random() % 3 == 0) corrupted.resize(random() % corrupted.size());
    LoadFromBytes(target.Get(), corrupted);
    ++loads;
  }
  EXPECT_GT(loads, 100);
}

TEST_F(PersistenceTest, ALoadedCaptionMustConvertExactly) {
  test::HostedControl source;
  const std::vector<BYTE> bytes = SaveToBytes(source.Get());
  // The default caption "QUARENT" in UTF-16; its first character is replaced.
  const BYTE quarent[] = {'Q', 0, 'U', 0, 'A', 0, 'R', 0, 'E', 0, 'N', 0, 'T', 0};
  const auto found = std::search(bytes.begin(), bytes.end(), std::begin(quarent), std::end(quarent));
  ASSERT_NE(found, bytes.end());
  const size_t at = static_cast<size_t>(found - bytes.begin());
  struct Row {
    const char* name;
    wchar_t first;
    bool loads;
  };
  const Row rows[] = {
      {"U+4E2D, not in the code page", L'\u4E2D', false},
      {"U+0100, best fit A", L'\u0100', false},
      {"fullwidth A, best fit A", L'\uFF21', false},
      {"plain A", L'A', true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<BYTE> changed = bytes;
    changed[at] = static_cast<BYTE>(row.first & 0xFF);
    changed[at + 1] = static_cast<BYTE>(row.first >> 8);
    test::HostedControl target;
    const HRESULT status = LoadFromBytes(target.Get(), changed);
    EXPECT_EQ(row.loads, SUCCEEDED(status)) << Hex(status);
    SetErrorInfo(0, nullptr);
  }
}

TEST_F(PersistenceTest, AStreamWithoutAFontLeavesTheFontAsItIs) {
  test::HostedControl unsited(false);
  test::Bstr caption(L"NO FONT");
  ASSERT_EQ(S_OK, unsited->put_Caption(caption.Get()));
  const std::vector<BYTE> bytes = SaveToBytes(unsited.Get());
  ASSERT_GT(bytes.size(), 30u);
  EXPECT_EQ(std::vector<BYTE>(16, 0), std::vector<BYTE>(bytes.begin() + 14, bytes.begin() + 30)) << "null class id";

  test::HostedControl target;
  IFontDisp* before = nullptr;
  target->get_Font(&before);
  ASSERT_EQ(S_OK, LoadFromBytes(target.Get(), bytes));
  IFontDisp* after = nullptr;
  target->get_Font(&after);
  EXPECT_EQ(before, after);
  BSTR loaded = nullptr;
  target->get_Caption(&loaded);
  EXPECT_STREQ(L"NO FONT", loaded);
  SysFreeString(loaded);
  if (before) before->Release();
  if (after) after->Release();
}

TEST_F(PersistenceTest, StorageKeepsTheSameBytesInAContentsStream) {
  test::HostedControl source;
  ASSERT_TRUE(ChangeEverything(source));
  ILockBytes* lockBytes = nullptr;
  ASSERT_EQ(S_OK, CreateILockBytesOnHGlobal(nullptr, TRUE, &lockBytes));
  IStorage* storage = nullptr;
  ASSERT_EQ(S_OK, StgCreateDocfileOnILockBytes(lockBytes, STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0,
                                               &storage));
  IPersistStorage* persist = source.As<IPersistStorage>(IID_IPersistStorage);
  ASSERT_EQ(S_OK, persist->Save(storage, FALSE));
  persist->Release();
  IStream* contents = nullptr;
  ASSERT_EQ(S_OK, storage->OpenStream(L"Contents", nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &contents));
  EXPECT_EQ(SaveToBytes(source.Get()), StreamBytes(contents));
  contents->Release();

  test::HostedControl target;
  IPersistStorage* loader = target.As<IPersistStorage>(IID_IPersistStorage);
  ASSERT_EQ(S_OK, loader->Load(storage));
  EXPECT_EQ(Snapshot(source.Get()), Snapshot(target.Get()));
  loader->Release();
  storage->Release();
  lockBytes->Release();
}

TEST_F(PersistenceTest, APropertyBagRoundTripsWithNamedValuesInOrder) {
  test::HostedControl source;
  ASSERT_TRUE(ChangeEverything(source));
  MemoryBag bag;
  IPersistPropertyBag* persist = source.As<IPersistPropertyBag>(IID_IPersistPropertyBag);
  ASSERT_EQ(S_OK, persist->Save(&bag, TRUE, TRUE));
  persist->Release();
  const std::vector<std::wstring> order = {L"_cx",        L"_cy",          L"Font",         L"BackColor",
                                           L"ForeColor",  L"AutoSize",     L"Caption",      L"Visible",
                                           L"TextShow",   L"TextPrefix",   L"TextSuffix",   L"TextAlignment",
                                           L"BarAlignment", L"BarOrientation", L"BarWidth", L"BarStyle"};
  EXPECT_EQ(order, bag.writeOrder);
  EXPECT_EQ(VT_UI4, bag.values[L"_cx"].vt);
  EXPECT_EQ(7000u, bag.values[L"_cx"].ulVal);
  EXPECT_EQ(VT_DISPATCH, bag.values[L"Font"].vt);
  EXPECT_EQ(VT_BSTR, bag.values[L"Caption"].vt);
  EXPECT_EQ(VT_BOOL, bag.values[L"Visible"].vt);

  test::HostedControl target;
  IPersistPropertyBag* loader = target.As<IPersistPropertyBag>(IID_IPersistPropertyBag);
  ASSERT_EQ(S_OK, loader->Load(&bag, nullptr));
  EXPECT_EQ(Snapshot(source.Get()), Snapshot(target.Get()));
  loader->Release();
}

TEST_F(PersistenceTest, APropertyBagLoadSkipsMissingNamesAndStopsAtARefusal) {
  test::HostedControl unsited(false);
  MemoryBag written;
  IPersistPropertyBag* saver = unsited.As<IPersistPropertyBag>(IID_IPersistPropertyBag);
  ASSERT_EQ(S_OK, saver->Save(&written, TRUE, TRUE));
  saver->Release();
  EXPECT_EQ(0u, written.values.count(L"Font")) << "a missing font is not written";

  struct Row {
    const char* name;
    const wchar_t* property;
    VARIANT value;
    const wchar_t* failing;
    bool loads;
    LONG barWidth;
  };
  auto longValue = [](LONG value) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
  };
  auto text = [](const wchar_t* value) {
    VARIANT variant;
    VariantInit(&variant);
    variant.vt = VT_BSTR;
    variant.bstrVal = SysAllocString(value);
    return variant;
  };
  const Row rows[] = {
      {"only BarWidth", L"BarWidth", longValue(60), nullptr, true, 60},
      {"BarWidth as text", L"BarWidth", text(L"70"), nullptr, true, 70},
      {"BarWidth refused", L"BarWidth", longValue(300), nullptr, false, 35},
      {"BarWidth not a number", L"BarWidth", text(L"wide"), nullptr, false, 35},
      {"bag fails", L"BarWidth", longValue(60), L"BarWidth", false, 35},
      {"Caption that would become AA", L"Caption", text(L"\u0100\u0100"), nullptr, false, 35},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MemoryBag bag;
    bag.Set(row.property, row.value);
    if (row.failing) bag.failing = row.failing;
    test::HostedControl target;
    IPersistPropertyBag* loader = target.As<IPersistPropertyBag>(IID_IPersistPropertyBag);
    const HRESULT status = loader->Load(&bag, nullptr);
    EXPECT_EQ(row.loads, SUCCEEDED(status)) << Hex(status);
    LONG width = 0;
    target->get_BarWidth(&width);
    EXPECT_EQ(row.barWidth, width);
    BSTR caption = nullptr;
    target->get_Caption(&caption);
    EXPECT_STREQ(L"QUARENT", caption) << "missing names leave the property";
    SysFreeString(caption);
    loader->Release();
    SetErrorInfo(0, nullptr);
  }

  // Random bags for a bounded time: every load returns.
  const wchar_t* names[] = {L"_cx", L"Font", L"BackColor", L"AutoSize", L"Caption", L"TextPrefix",
                            L"TextAlignment", L"BarWidth", L"BarStyle", L"BarOrientation"};
  const VARTYPE types[] = {VT_I2, VT_I4, VT_UI4, VT_R8, VT_BSTR, VT_BOOL, VT_EMPTY, VT_NULL, VT_DISPATCH};
  std::mt19937 random(7);
  const DWORD end = GetTickCount() + 2000;
  test::HostedControl target;
  IPersistPropertyBag* loader = target.As<IPersistPropertyBag>(IID_IPersistPropertyBag);
  int loads = 0;
  while (GetTickCount() < end) {
    MemoryBag bag;
    for (const wchar_t* name : names) {
      if (random() % 2) continue;
      VARIANT value;
      VariantInit(&value);
      value.vt = types[random() % (sizeof(types) / sizeof(types[0]))];
      if (value.vt == VT_BSTR) {
        const std::wstring content(random() % 300, static_cast<wchar_t>(L' ' + random() % 95));
        value.bstrVal = SysAllocString(content.c_str());
      } else if (value.vt == VT_DISPATCH) {
        value.pdispVal = random() % 2 ? nullptr : test::MakeFont(L"DejaVu Sans");
        if (value.pdispVal == nullptr) value.vt = VT_DISPATCH;
      } else {
        value.llVal = static_cast<LONGLONG>(random()) - 0x40000000;
        if (value.vt == VT_R8) value.dblVal = static_cast<double>(random() % 1000) / 7.0;
      }
      bag.Set(name, value);
    }
    loader->Load(&bag, nullptr);
    ++loads;
  }
  loader->Release();
  SetErrorInfo(0, nullptr);
  EXPECT_GT(loads, 50);
}

}  // namespace
