// QRNSharedMemory late-bound: names and dispatch identifiers from the type
// library, IDispatch::Invoke of properties and methods.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "com_client.h"
#include "event_recorder.h"
#include "shared_memory_client.h"

namespace {

using test::ComPtr;
using test::DispatchResult;

class SharedMemoryDispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::RegisterSharedMemoryOnce());
    ComPtr<ISharedMemory> memory = test::NewSharedMemory();
    ASSERT_TRUE(memory);
    dispatch_ = memory.As<IDispatch>();
    ASSERT_TRUE(dispatch_);
  }

  test::Apartment apartment_;
  ComPtr<IDispatch> dispatch_;
};

TEST_F(SharedMemoryDispatch, NamesHaveTheirFixedDispatchIdentifiers) {
  const struct {
    const wchar_t* name;
    DISPID id;
  } members[] = {
      {L"Ptr", 0},       {L"AutoLock", 1},  {L"FireEvents", 2}, {L"Size", 3},
      {L"MeFirst", 4},   {L"Name", 5},      {L"IsCreated", 6},  {L"Create", 15},
      {L"Delete", 16},   {L"Read", 17},     {L"Write", 18},     {L"MemLock", 19},
      {L"MemUnlock", 20}, {L"GenerateSafeName", 21}, {L"AboutBox", -552}, {L"ReadVB", 22},
      {L"WriteVB", 23},
  };
  for (const auto& member : members) {
    SCOPED_TRACE(test::Narrow(member.name));
    LPOLESTR names[] = {const_cast<LPOLESTR>(member.name)};
    DISPID id = 12345;
    ASSERT_EQ(S_OK, dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(member.id, id);
  }
  LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"Resize")};
  DISPID id = 0;
  EXPECT_EQ(DISP_E_UNKNOWNNAME, dispatch_->GetIDsOfNames(IID_NULL, unknown, 1, LOCALE_USER_DEFAULT, &id));

  UINT count = 0;
  ASSERT_EQ(S_OK, dispatch_->GetTypeInfoCount(&count));
  EXPECT_EQ(1u, count);
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(S_OK, dispatch_->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Receive()));
  BSTR name = nullptr;
  BSTR help = nullptr;
  ASSERT_EQ(S_OK, info->GetDocumentation(MEMBERID_NIL, &name, &help, nullptr, nullptr));
  EXPECT_STREQ(L"ISharedMemory", name);
  EXPECT_STREQ(L"ISharedMemory Interface", help);
  SysFreeString(name);
  SysFreeString(help);
  ASSERT_EQ(S_OK, info->GetDocumentation(5, &name, &help, nullptr, nullptr));
  EXPECT_STREQ(L"Returns the name of the shared memory section.", help);
  SysFreeString(name);
  SysFreeString(help);
}

TEST_F(SharedMemoryDispatch, PropertiesAndMethodsThroughInvoke) {
  DispatchResult result;
  test::CallByName(dispatch_.Get(), L"AutoLock", DISPATCH_PROPERTYGET, {}, result);
  ASSERT_EQ(S_OK, result.status);
  EXPECT_EQ(VT_BOOL, result.value.vt);
  EXPECT_EQ(VARIANT_TRUE, result.value.boolVal);

  DispatchResult put;
  test::CallByName(dispatch_.Get(), L"AutoLock", DISPATCH_PROPERTYPUT, {test::BoolArgument(false)}, put);
  ASSERT_EQ(S_OK, put.status);
  test::CallByName(dispatch_.Get(), L"AutoLock", DISPATCH_PROPERTYGET, {}, result);
  EXPECT_EQ(VARIANT_FALSE, result.value.boolVal);

  const std::wstring name = test::UniqueSectionName(L"Late");
  DispatchResult created;
  // Arguments are coerced by the type library: the Size arrives as text.
  test::CallByName(dispatch_.Get(), L"Create", DISPATCH_METHOD,
                   {test::StringArgument(L"48"), test::StringArgument(name.c_str())}, created);
  ASSERT_EQ(S_OK, created.status);
  EXPECT_EQ(VT_BOOL, created.value.vt);
  EXPECT_EQ(VARIANT_TRUE, created.value.boolVal);

  DispatchResult size;
  test::CallByName(dispatch_.Get(), L"Size", DISPATCH_PROPERTYGET, {}, size);
  EXPECT_EQ(VT_I4, size.value.vt);
  EXPECT_EQ(48, size.value.lVal);
  DispatchResult shownName;
  test::CallByName(dispatch_.Get(), L"Name", DISPATCH_PROPERTYGET, {}, shownName);
  ASSERT_EQ(VT_BSTR, shownName.value.vt);
  EXPECT_EQ(name, shownName.value.bstrVal);

  // Write and Read take the first byte of the caller's buffer by reference.
  unsigned char out[8] = {'d', 'i', 's', 'p', 'a', 't', 'c', 'h'};
  VARIANT buffer;
  VariantInit(&buffer);
  buffer.vt = VT_UI1 | VT_BYREF;
  buffer.pbVal = out;
  long written = 0;
  VARIANT count;
  VariantInit(&count);
  count.vt = VT_I4 | VT_BYREF;
  count.plVal = &written;
  DispatchResult wrote;
  test::CallByName(dispatch_.Get(), L"Write", DISPATCH_METHOD,
                   {buffer, test::LongArgument(8), count, test::LongArgument(40)}, wrote);
  ASSERT_EQ(S_OK, wrote.status);
  EXPECT_EQ(VARIANT_TRUE, wrote.value.boolVal);
  EXPECT_EQ(8, written);

  unsigned char in[8] = {};
  buffer.pbVal = in;
  long read = 0;
  count.plVal = &read;
  DispatchResult got;
  test::CallByName(dispatch_.Get(), L"Read", DISPATCH_METHOD,
                   {buffer, test::LongArgument(100), count, test::LongArgument(40)}, got);
  ASSERT_EQ(S_OK, got.status);
  EXPECT_EQ(VARIANT_TRUE, got.value.boolVal);
  EXPECT_EQ(8, read);
  EXPECT_EQ(0, std::memcmp(in, out, 8));

  DispatchResult unique;
  test::CallByName(dispatch_.Get(), L"GenerateSafeName", DISPATCH_METHOD, {}, unique);
  ASSERT_EQ(VT_BSTR, unique.value.vt);
  EXPECT_EQ(38u, SysStringLen(unique.value.bstrVal));

  DispatchResult deleted;
  test::CallByName(dispatch_.Get(), L"Delete", DISPATCH_METHOD, {}, deleted);
  EXPECT_EQ(VARIANT_TRUE, deleted.value.boolVal);
  test::CallByName(dispatch_.Get(), L"Delete", DISPATCH_METHOD, {}, deleted);
  EXPECT_EQ(VARIANT_FALSE, deleted.value.boolVal);
}

// A buffer argument of `type` as a late-bound caller might pass it; what a
// by-reference variant points at lives as long as the program.
VARIANT BufferArgumentOf(VARTYPE type) {
  static long number = 0;
  static VARIANT byte = [] {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_UI1;
    return value;
  }();
  static SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, 16);
  VARIANT value;
  VariantInit(&value);
  value.vt = type;
  switch (type) {
    case VT_BSTR: value.bstrVal = SysAllocString(L"buffer"); break;
    case VT_ERROR: value.scode = DISP_E_PARAMNOTFOUND; break;
    case VT_ARRAY | VT_UI1: SafeArrayCopy(bytes, &value.parray); break;
    case VT_BYREF | VT_I4: value.plVal = &number; break;
    case VT_BYREF | VT_VARIANT: value.pvarVal = &byte; break;
    case VT_BYREF | VT_ARRAY | VT_UI1: value.pparray = &bytes; break;
    default: break;  // numbers 0, VT_EMPTY, VT_NULL, a null VT_DISPATCH
  }
  return value;
}

TEST_F(SharedMemoryDispatch, ReadAndWriteTakeTheBufferOnlyAsAByteByReference) {
  ComPtr<ISharedMemory> memory = dispatch_.As<ISharedMemory>();
  ASSERT_TRUE(test::CreateSection(memory.Get(), 8192, test::UniqueSectionName(L"ByValue").c_str()));
  const std::vector<unsigned char> pattern(8192, 0x5A);
  ASSERT_TRUE(test::WriteBytes(memory.Get(), pattern.data(), 8192, 0));
  ASSERT_EQ(S_OK, memory->put_FireEvents(VARIANT_TRUE));
  auto* sink = new test::EventRecorder(DIID__ISharedMemoryEvents);
  test::Connection connection(memory.Get(), DIID__ISharedMemoryEvents, sink);
  ASSERT_EQ(S_OK, connection.Status());

  // JScript passes every argument by value (VT_EMPTY or VT_I4 0 for a buffer);
  // the platform would turn each of these into a one-byte temporary.
  const VARTYPE refused[] = {VT_EMPTY, VT_NULL,  VT_I2,   VT_I4,   VT_UI1,
                             VT_R8,    VT_BOOL,  VT_BSTR, VT_ERROR, VT_DISPATCH,
                             VT_ARRAY | VT_UI1,  VT_BYREF | VT_I4,  VT_BYREF | VT_VARIANT,
                             VT_BYREF | VT_ARRAY | VT_UI1};
  for (const wchar_t* member : {L"Read", L"Write"}) {
    for (const VARTYPE type : refused) {
      SCOPED_TRACE(testing::Message() << test::Narrow(member) << " with a buffer of type 0x" << std::hex << type);
      long count = -1;
      VARIANT byReference;
      VariantInit(&byReference);
      byReference.vt = VT_I4 | VT_BYREF;
      byReference.plVal = &count;
      DispatchResult result;
      test::CallByName(dispatch_.Get(), member, DISPATCH_METHOD,
                       {BufferArgumentOf(type), test::LongArgument(4096), byReference, test::LongArgument(0)}, result);
      EXPECT_EQ(test::Hex(DISP_E_TYPEMISMATCH), test::Hex(result.status));
      EXPECT_EQ(3u, result.argumentError) << "the buffer is the last of the four arguments in rgvarg";
      EXPECT_EQ(-1, count);
      EXPECT_EQ("", sink->Summary());
    }
  }
  std::vector<unsigned char> section(8192);
  ASSERT_TRUE(test::ReadBytes(memory.Get(), section.data(), 8192, 0));
  EXPECT_TRUE(section == pattern) << "nothing was written";

  // Named arguments: the buffer is found by its parameter's position.
  for (const VARTYPE type : {VARTYPE(VT_I4), VARTYPE(VT_UI1 | VT_BYREF)}) {
    SCOPED_TRACE(type);
    unsigned char bytes[4] = {};
    long count = -1;
    VARIANT arguments[4];
    arguments[0] = test::LongArgument(4);
    arguments[1] = BufferArgumentOf(type);
    if (type & VT_BYREF) arguments[1].pbVal = bytes;
    VariantInit(&arguments[2]);
    arguments[2].vt = VT_I4 | VT_BYREF;
    arguments[2].plVal = &count;
    arguments[3] = test::LongArgument(0);
    DISPID names[4] = {1, 0, 2, 3};  // BytesToRead, pVoidBuf, BytesRead, Offset
    DISPPARAMS parameters = {arguments, names, 4, 4};
    UINT argumentError = ~0u;
    VARIANT value;
    VariantInit(&value);
    const HRESULT status = dispatch_->Invoke(17, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, &value,
                                             nullptr, &argumentError);
    if (type & VT_BYREF) {
      EXPECT_EQ(S_OK, status) << test::Hex(status);
      EXPECT_EQ(4, count);
      EXPECT_EQ(0x5A, bytes[3]);
    } else {
      EXPECT_EQ(test::Hex(DISP_E_TYPEMISMATCH), test::Hex(status));
      EXPECT_EQ(1u, argumentError);
      EXPECT_EQ(-1, count);
    }
  }
  memory->put_FireEvents(VARIANT_FALSE);
  sink->Release();
}

TEST_F(SharedMemoryDispatch, AFailureStatusReachesTheCallerAsAnException) {
  long count = 0;
  VARIANT byReference;
  VariantInit(&byReference);
  byReference.vt = VT_I4 | VT_BYREF;
  byReference.plVal = &count;
  DispatchResult result;
  test::CallByName(dispatch_.Get(), L"ReadVB", DISPATCH_METHOD,
                   {test::LongArgument(0), test::LongArgument(4), byReference, test::LongArgument(0)}, result);
  ASSERT_EQ(DISP_E_EXCEPTION, result.status) << test::Hex(result.status);
  EXPECT_EQ(E_POINTER, result.exception.scode) << test::Hex(result.exception.scode);
}

}  // namespace
