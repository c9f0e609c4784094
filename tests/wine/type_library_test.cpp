// What object browsers and form designers read from the type library each DLL
// carries: the help strings of the enumerations and of their members, and the
// colour properties typed as the OLE_COLOR alias of the standard OLE library.
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QRNBC10_h.h"
#include "com_client.h"
#include "common/com_ptr.h"
#include "type_library_reader.h"

namespace {

using quarent::ComPtr;
using test::HelpStringOf;

// Help strings of the enumeration's members, in their order.
std::vector<std::string> MemberHelpStrings(ITypeInfo* info) {
  std::vector<std::string> helps;
  for (const test::ConstantInfo& constant : test::ConstantsOf(info)) helps.push_back(constant.help);
  return helps;
}

TEST(TypeLibraryTest, EnumerationsAndTheirMembersCarryTheirHelpStrings) {
  test::Apartment apartment;
  struct Enumeration {
    const wchar_t* dll;
    const char* name;
    const char* help;
    std::vector<std::string> members;  // empty: no member has a help string
  };
  const Enumeration enumerations[] = {
      {L"BrnLog.dll", "brnShowWindow", "Show Window Constants Type",
       {"Hide the window", "Show the window in the normal style", "Show the window minimized",
        "Show the window maximized", "Show the window but don't activate", "Activates the window",
        "Minimize the window", "Show the window minimized, don't activate",
        "Displays the window in its current state, don't activate", "Restore the window",
        "Show the window in it's default state", "Force the window to minimize"}},
      {L"BrnLog.dll", "brnLimitsConstants", "Limits Constants Type",
       {"None", "Less Than (<)", "Less Than or Equal (<=)", "Greater Than (>)", "Greater Than or Equal (>=)"}},
      {L"BrnLog.dll", "brnImageIndex", "Image Index Type",
       {"None", "Circle Exclamation", "Circle X", "Exclamation", "Right Arrow", "Down-right Arrow"}},
      {L"BrnLog.dll", "brnColumnHeaders", "Column Headers Constants Type",
       {"Message Column", "Value Column", "Category Column"}},
      {L"QRNNTSrv.dll", "Constants_Controls", "Controls Accepted Constants", {}},
      {L"QRNNTSrv.dll", "Constants_StartMode", "Service Start Mode Constants", {}},
      {L"QRNNTSrv.dll", "Constants_Status", "Service Status Constants", {}},
      {L"QRNNTSrv.dll", "Constants_Events", "Event Types Constants", {}},
      {L"QRNNTSrv.dll", "Constants_Messages", "Service Events Constants", {}},
      {L"QRNBC10.dll", "Constants_FontSel", "Code 128 font conversion modes", {}},
      {L"QRNBC10.dll", "Constants_BarCodeSel", "Barcode styles", {}},
      {L"QRNBC10.dll", "Constants_Orientation", "Barcode orientations", {}},
      {L"QRNBC10.dll", "Constants_Alignment", "Alignments", {}},
  };
  for (const Enumeration& enumeration : enumerations) {
    SCOPED_TRACE(test::Narrow(enumeration.dll) + " " + enumeration.name);
    ComPtr<ITypeLib> library = test::EmbeddedTypeLibrary(enumeration.dll);
    ASSERT_TRUE(library);
    ComPtr<ITypeInfo> info = test::TypeNamed(library.Get(), TKIND_ENUM, enumeration.name);
    ASSERT_TRUE(info);
    EXPECT_EQ(HelpStringOf(info.Get(), MEMBERID_NIL), enumeration.help);
    const std::vector<std::string> helps = MemberHelpStrings(info.Get());
    ASSERT_FALSE(helps.empty());
    if (enumeration.members.empty()) {
      EXPECT_EQ(helps, std::vector<std::string>(helps.size()));
    } else {
      EXPECT_EQ(helps, enumeration.members);
    }
  }
}

// The colour of a BackColor/ForeColor function: the put's parameter, the vtable
// get's retval parameter (a pointer), or the dispatch get's result.
const TYPEDESC& ColourType(const FUNCDESC& function) {
  if (function.invkind == INVOKE_PROPERTYPUT) return function.lprgelemdescParam[0].tdesc;
  if (function.cParams == 1) return *function.lprgelemdescParam[0].tdesc.lptdesc;
  return function.elemdescFunc.tdesc;
}

TEST(TypeLibraryTest, ColourPropertiesAreTheOleColorAliasOfStdole) {
  test::Apartment apartment;
  ComPtr<ITypeLib> library = test::EmbeddedTypeLibrary(L"QRNBC10.dll");
  ASSERT_TRUE(library);
  ComPtr<ITypeInfo> dispatch;
  ASSERT_EQ(library->GetTypeInfoOfGuid(IID_IQRNBarCode, dispatch.Receive()), S_OK);
  HREFTYPE vtableReference = 0;
  ComPtr<ITypeInfo> vtable;
  ASSERT_EQ(dispatch->GetRefTypeOfImplType(-1, &vtableReference), S_OK);
  ASSERT_EQ(dispatch->GetRefTypeInfo(vtableReference, vtable.Receive()), S_OK);
  const GUID stdole = {0x00020430, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
  const GUID oleColor = {0x66504301, 0xBE0F, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

  struct Side {
    const char* name;
    ITypeInfo* info;
  };
  const Side sides[] = {{"dispatch", dispatch.Get()}, {"vtable", vtable.Get()}};
  for (const Side& side : sides) {
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(side.info->GetTypeAttr(&attributes), S_OK);
    const WORD count = attributes->cFuncs;
    side.info->ReleaseTypeAttr(attributes);
    int colours = 0;
    for (UINT index = 0; index < count; ++index) {
      FUNCDESC* function = nullptr;
      ASSERT_EQ(side.info->GetFuncDesc(index, &function), S_OK);
      if (function->memid == DISPID_BACKCOLOR || function->memid == DISPID_FORECOLOR) {
        SCOPED_TRACE(std::string(side.name) + " " + std::to_string(function->memid) + " kind " +
                     std::to_string(function->invkind));
        ++colours;
        const TYPEDESC& type = ColourType(*function);
        ASSERT_EQ(type.vt, VT_USERDEFINED);
        ComPtr<ITypeInfo> alias;
        ASSERT_EQ(side.info->GetRefTypeInfo(type.hreftype, alias.Receive()), S_OK);
        EXPECT_EQ(test::NameOf(alias.Get(), MEMBERID_NIL), "OLE_COLOR");
        ASSERT_EQ(alias->GetTypeAttr(&attributes), S_OK);
        EXPECT_EQ(attributes->typekind, TKIND_ALIAS);
        EXPECT_EQ(attributes->tdescAlias.vt, VT_UI4);
        EXPECT_TRUE(IsEqualGUID(attributes->guid, oleColor));
        alias->ReleaseTypeAttr(attributes);
        ComPtr<ITypeLib> container;
        UINT position = 0;
        ASSERT_EQ(alias->GetContainingTypeLib(container.Receive(), &position), S_OK);
        TLIBATTR* libraryAttributes = nullptr;
        ASSERT_EQ(container->GetLibAttr(&libraryAttributes), S_OK);
        EXPECT_TRUE(IsEqualGUID(libraryAttributes->guid, stdole));
        container->ReleaseTLibAttr(libraryAttributes);
      }
      side.info->ReleaseFuncDesc(function);
    }
    EXPECT_EQ(colours, 4) << side.name;
  }
}

}  // namespace
