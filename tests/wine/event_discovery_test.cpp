// How script hosts (WScript.ConnectObject, .NET, PowerShell) find the default
// event interface of a late-bound object: IProvideClassInfo2 on the object.
#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include "BrnLog_h.h"
#include "QRNShrMem_h.h"
#include "com_client.h"
#include "common/com_ptr.h"
#include "processes.h"

namespace {

using quarent::ComPtr;

TEST(EventDiscoveryTest, ObjectsNameTheirClassAndDefaultEventInterface) {
  test::Apartment apartment;
  struct Case {
    const wchar_t* dll;
    const CLSID* coclass;
    const IID* events;
  };
  const Case cases[] = {
      {L"BrnLog.dll", &CLSID_Log, &DIID__ILogEvents},
      {L"QRNShrMem.dll", &CLSID_QRNSharedMemory, &DIID__ISharedMemoryEvents},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(test::Narrow(row.dll));
    ASSERT_EQ(test::RegisterServer(row.dll), 0);
    ComPtr<IUnknown> object;
    ASSERT_EQ(CoCreateInstance(*row.coclass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.ReceiveVoid()),
              S_OK);
    ComPtr<IProvideClassInfo> classInfo = object.As<IProvideClassInfo>();
    ComPtr<IProvideClassInfo2> classInfo2 = object.As<IProvideClassInfo2>();
    ASSERT_TRUE(classInfo);
    ASSERT_TRUE(classInfo2);
    EXPECT_EQ(classInfo.As<IUnknown>().Get(), object.Get()) << "one identity";

    GUID source = GUID_NULL;
    EXPECT_EQ(classInfo2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
    EXPECT_TRUE(IsEqualGUID(source, *row.events));
    EXPECT_EQ(classInfo2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID + 1, &source), E_INVALIDARG);
    EXPECT_EQ(classInfo2->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, nullptr), E_POINTER);

    // The coclass lists the event interface as its default source.
    ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(classInfo->GetClassInfo(coclass.Receive()), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(coclass->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, TKIND_COCLASS);
    EXPECT_TRUE(IsEqualGUID(attributes->guid, *row.coclass));
    const WORD interfaces = attributes->cImplTypes;
    coclass->ReleaseTypeAttr(attributes);
    bool defaultSourceFound = false;
    for (UINT index = 0; index < interfaces; ++index) {
      INT flags = 0;
      HREFTYPE reference = 0;
      ComPtr<ITypeInfo> implemented;
      coclass->GetImplTypeFlags(index, &flags);
      if (flags != (IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE)) continue;
      ASSERT_EQ(coclass->GetRefTypeOfImplType(index, &reference), S_OK);
      ASSERT_EQ(coclass->GetRefTypeInfo(reference, implemented.Receive()), S_OK);
      ASSERT_EQ(implemented->GetTypeAttr(&attributes), S_OK);
      defaultSourceFound = IsEqualGUID(attributes->guid, *row.events);
      implemented->ReleaseTypeAttr(attributes);
    }
    EXPECT_TRUE(defaultSourceFound);
  }
}

}  // namespace
