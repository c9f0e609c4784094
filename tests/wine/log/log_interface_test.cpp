// What BrnLog.dll publishes to its clients besides behaviour: the type
// library's members, parameters, help strings and enumerations, and the
// resources with fixed identifiers (menu, string table, icons, dialogs).
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "log_fixture.h"
#include "type_library_reader.h"

namespace logtest {
namespace {

using Texts = std::vector<std::string>;

template <class T>
using Owned = quarent::ComPtr<T>;

std::string Narrow(BSTR text) { return text ? test::Narrow(text) : std::string(); }

struct Member {
  std::string name;
  MEMBERID id;
  INVOKEKIND kind;
  std::string parameters;  // "type name, ..." with "[out, retval] " where set
  std::string help;
};

// Every function of `info` in its order.
std::vector<Member> MembersOf(ITypeInfo* info, bool withParameterNames) {
  std::vector<Member> members;
  for (const test::FunctionInfo& function : test::FunctionsOf(info)) {
    Member member{function.name, function.id, function.kind, "", function.help};
    for (const test::ParameterInfo& parameter : function.parameters) {
      if (!member.parameters.empty()) member.parameters += ", ";
      const USHORT flags = parameter.flags;
      if ((flags & PARAMFLAG_FOUT) && (flags & PARAMFLAG_FRETVAL)) member.parameters += "[out, retval] ";
      member.parameters += parameter.type;
      if (withParameterNames && !parameter.name.empty()) member.parameters += " " + parameter.name;
    }
    members.push_back(std::move(member));
  }
  return members;
}

class LogInterfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(apartment_.Status()));
    ASSERT_TRUE(RegisterBrnLog());
    ASSERT_EQ(LoadRegTypeLib(LIBID_BRNLOGLib, 1, 1, 0x409, library_.Receive()), S_OK);
  }

  test::Apartment apartment_;
  Owned<ITypeLib> library_;
};

TEST_F(LogInterfaceTest, ILogMembersInTheirOrderWithTheirParameters) {
  Owned<ITypeInfo> dispatchInfo;
  ASSERT_EQ(library_->GetTypeInfoOfGuid(IID_ILog, dispatchInfo.Receive()), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(dispatchInfo->GetTypeAttr(&attributes), S_OK);
  EXPECT_NE(attributes->wTypeFlags & TYPEFLAG_FDUAL, 0);
  dispatchInfo->ReleaseTypeAttr(attributes);

  // The vtable side of the dual interface lists only ILog's own members.
  HREFTYPE vtableRef = 0;
  ASSERT_EQ(dispatchInfo->GetRefTypeOfImplType(-1, &vtableRef), S_OK);
  Owned<ITypeInfo> vtableInfo;
  ASSERT_EQ(dispatchInfo->GetRefTypeInfo(vtableRef, vtableInfo.Receive()), S_OK);

  // Property rows leave out parameter names, which only the methods fix.
  const Member expected[] = {
      {"CreateLogWindow", 1, INVOKE_FUNC, "[out, retval] short* windowNum", "method CreateLogWindow"},
      {"ClearLogWindow", 2, INVOKE_FUNC, "", "method ClearLogWindow"},
      {"LogMessage", 3, INVOKE_FUNC, "BSTR Msg, short Level", "method LogMessage"},
      {"LogCaption", 5, INVOKE_FUNC, "BSTR caption", "method LogCaption"},
      {"LogShowWindow", 6, INVOKE_FUNC, "brnShowWindow command", "method LogShowWindow"},
      {"LogMessageCategory", 7, INVOKE_FUNC, "BSTR Msg, BSTR Category, short Level", "method LogMessageCategory"},
      {"RemoveLogWindow", 8, INVOKE_FUNC, "", "method RemoveLogWindow"},
      {"IsLogWindow", 9, INVOKE_FUNC, "[out, retval] short* IsLogWindow", "method IsLogWindow"},
      {"LogMessageValue", 10, INVOKE_FUNC, "BSTR Msg, VARIANT Value, BSTR Category, short Level",
       "method LogMessageValue"},
      {"CategoryLimits", 11, INVOKE_FUNC,
       "BSTR Category, VARIANT lower, brnLimitsConstants lowerType, VARIANT upper, brnLimitsConstants upperType",
       "method CategoryLimits"},
      {"CategoryEnable", 12, INVOKE_FUNC, "BSTR Category, long OnOff", "method CategoryEnable"},
      {"CategoryIsEnabled", 13, INVOKE_FUNC, "BSTR Category, [out, retval] long* pRet", "method CategoryIsEnabled"},
      {"LevelEnable", 14, INVOKE_FUNC, "short Level, long OnOff", "method LevelEnable"},
      {"LevelIsEnabled", 15, INVOKE_FUNC, "short Level, [out, retval] long* pRet", "method LevelIsEnabled"},
      {"MessageImage", 16, INVOKE_PROPERTYGET, "[out, retval] brnImageIndex*", "property MessageImage"},
      {"MessageImage", 16, INVOKE_PROPERTYPUT, "brnImageIndex", "property MessageImage"},
      {"SetColumnHeaderText", 17, INVOKE_FUNC, "brnColumnHeaders Column, BSTR newText", "method SetColumnHeaderText"},
      {"ContextMenuEnabled", 18, INVOKE_PROPERTYGET, "[out, retval] long*", "property ContextMenuEnabled"},
      {"ContextMenuEnabled", 18, INVOKE_PROPERTYPUT, "long", "property ContextMenuEnabled"},
  };
  const std::vector<Member> methods = MembersOf(vtableInfo.Get(), true);
  const std::vector<Member> unnamed = MembersOf(vtableInfo.Get(), false);
  ASSERT_EQ(methods.size(), std::size(expected));
  for (size_t index = 0; index < methods.size(); ++index) {
    const Member& want = expected[index];
    SCOPED_TRACE(want.name + " #" + std::to_string(index));
    const Member& got = want.kind == INVOKE_FUNC ? methods[index] : unnamed[index];
    EXPECT_EQ(got.name, want.name);
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.kind, want.kind);
    EXPECT_EQ(got.parameters, want.parameters);
    EXPECT_EQ(got.help, want.help);
  }
}

TEST_F(LogInterfaceTest, EventInterfaceClassAndLibrary) {
  Owned<ITypeInfo> events;
  ASSERT_EQ(library_->GetTypeInfoOfGuid(DIID__ILogEvents, events.Receive()), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(events->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->typekind, TKIND_DISPATCH);
  events->ReleaseTypeAttr(attributes);
  const std::vector<Member> members = MembersOf(events.Get(), true);
  ASSERT_EQ(members.size(), 1u);
  EXPECT_EQ(members[0].name, "Click");
  EXPECT_EQ(members[0].id, -600);
  EXPECT_EQ(members[0].parameters, "short button");

  // Coclass Log: ILog by default, _ILogEvents as the default source.
  Owned<ITypeInfo> coclass;
  ASSERT_EQ(library_->GetTypeInfoOfGuid(CLSID_Log, coclass.Receive()), S_OK);
  ASSERT_EQ(coclass->GetTypeAttr(&attributes), S_OK);
  const WORD interfaces = attributes->cImplTypes;
  coclass->ReleaseTypeAttr(attributes);
  ASSERT_EQ(interfaces, 2);
  struct Implemented {
    const GUID* iid;
    INT flags;
  };
  const Implemented implemented[] = {
      {&IID_ILog, IMPLTYPEFLAG_FDEFAULT},
      {&DIID__ILogEvents, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE},
  };
  for (UINT index = 0; index < 2; ++index) {
    SCOPED_TRACE(index);
    INT flags = 0;
    EXPECT_EQ(coclass->GetImplTypeFlags(index, &flags), S_OK);
    EXPECT_EQ(flags, implemented[index].flags);
    HREFTYPE reference = 0;
    ASSERT_EQ(coclass->GetRefTypeOfImplType(index, &reference), S_OK);
    Owned<ITypeInfo> info;
    ASSERT_EQ(coclass->GetRefTypeInfo(reference, info.Receive()), S_OK);
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_TRUE(IsEqualGUID(attributes->guid, *implemented[index].iid));
    info->ReleaseTypeAttr(attributes);
  }

  BSTR name = nullptr;
  BSTR helpFile = nullptr;
  ASSERT_EQ(library_->GetDocumentation(-1, &name, nullptr, nullptr, &helpFile), S_OK);
  EXPECT_EQ(Narrow(name), "BRNLOGLib");
  const std::string help = Narrow(helpFile);
  EXPECT_EQ(help.substr(help.find_last_of('\\') + 1), "BrnLog.hlp") << help;
  SysFreeString(name);
  SysFreeString(helpFile);
}

TEST_F(LogInterfaceTest, EnumerationsCarryTheirConstants) {
  using Constants = std::vector<std::pair<std::string, long>>;
  struct Enumeration {
    std::string name;
    std::string help;
    Constants constants;
  };
  const Enumeration expected[] = {
      {"brnShowWindow", "Show Window Constants Type",
       {{"brnHide", 0}, {"brnNormal", 1}, {"brnShowMinimized", 2}, {"brnMaximize", 3}, {"brnNoActivate", 4},
        {"brnActivate", 5}, {"brnMinimize", 6}, {"brnMinNoActivate", 7}, {"brnShowNA", 8}, {"brnRestore", 9},
        {"brnDefault", 10}, {"brnForceMin", 11}}},
      {"brnLimitsConstants", "Limits Constants Type",
       {{"brnNone", 0}, {"brnLess", 1}, {"brnLessEqual", 2}, {"brnGreater", 3}, {"brnGreaterEqual", 4}}},
      {"brnImageIndex", "Image Index Type",
       {{"brnNoImage", 0}, {"brnCircleExclam", 1}, {"brnCircleX", 2}, {"brnExclam", 3}, {"brnRightArrow", 4},
        {"brnDownRtArrow", 5}}},
      {"brnColumnHeaders", "Column Headers Constants Type",
       {{"brnMessageCol", 0}, {"brnValueCol", 1}, {"brnCategoryCol", 2}}},
  };
  for (const Enumeration& want : expected) {
    SCOPED_TRACE(want.name);
    Owned<ITypeInfo> info = test::TypeNamed(library_.Get(), TKIND_ENUM, want.name);
    ASSERT_NE(info.Get(), nullptr);
    EXPECT_EQ(test::HelpStringOf(info.Get(), MEMBERID_NIL), want.help);
    Constants constants;
    for (const test::ConstantInfo& constant : test::ConstantsOf(info.Get())) {
      constants.emplace_back(constant.name, constant.value);
    }
    EXPECT_EQ(constants, want.constants);
  }
}

// The module's resources, read as data.
class LogResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExA("BrnLog.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }

  HMODULE module_ = nullptr;
};

// "text=id" for each item of `menu`, "-" for a separator, "text>" for a pop-up.
Texts MenuItems(HMENU menu) {
  Texts items;
  for (int position = 0; position < GetMenuItemCount(menu); ++position) {
    char text[128] = {};
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_TYPE | MIIM_ID | MIIM_SUBMENU;
    item.dwTypeData = text;
    item.cch = sizeof text;
    GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &item);
    if (item.fType & MFT_SEPARATOR) {
      items.push_back("-");
    } else if (item.hSubMenu) {
      items.push_back(std::string(text) + ">");
    } else {
      items.push_back(std::string(text) + "=" + std::to_string(item.wID));
    }
  }
  return items;
}

TEST_F(LogResourcesTest, MenuHasItsCommandIdentifiers) {
  HMENU bar = LoadMenuA(module_, MAKEINTRESOURCEA(201));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(MenuItems(bar), (Texts{"&File>", "&Edit>", "Fi&lter>", "&Options>", "&Help>"}));
  const Texts expected[] = {
      {"&Save=32769", "-", "E&xit=32768"},
      {"&Copy=32770", "-", "Clear=32771", "-", "Edit Category...=32776"},
      {"&Refresh=32775", "-", "Enable All=32773", "Disable All=32774", "-"},
      {"&Keep on Top=32780"},
      {"Contents...=32778", "-", "&About...=32777"},
  };
  for (int position = 0; position < 5; ++position) {
    SCOPED_TRACE(position);
    EXPECT_EQ(MenuItems(GetSubMenu(bar, position)), expected[position]);
  }
  DestroyMenu(bar);
}

TEST_F(LogResourcesTest, StringTableIconsAndDialogs) {
  const std::pair<UINT, const char*> strings[] = {
      {30000, "Filter Items"}, {32767, "Last of Filter Items"}, {32780, "Message"}, {32781, "Value"},
      {32782, "Category"},
  };
  for (const auto& [id, text] : strings) {
    SCOPED_TRACE(id);
    char loaded[64] = {};
    LoadStringA(module_, id, loaded, sizeof loaded);
    EXPECT_STREQ(loaded, text);
  }

  // Each icon holds one 32 by 32 pixel, 16-colour image.
  for (UINT id : {202u, 203u, 207u, 208u, 209u, 210u, 211u}) {
    SCOPED_TRACE(id);
    HRSRC resource = FindResourceA(module_, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(resource, nullptr);
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(module_, resource)));
    ASSERT_NE(directory, nullptr);
    // GRPICONDIR: reserved, type, count; then 14-byte entries: width, height, colours, ...
    const WORD count = *reinterpret_cast<const WORD*>(directory + 4);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(directory[6], 32);
    EXPECT_EQ(directory[7], 32);
    EXPECT_EQ(directory[8], 16);
  }

  for (UINT id : {1u, 203u}) {
    SCOPED_TRACE(id);
    EXPECT_NE(FindResourceA(module_, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5)), nullptr);  // RT_DIALOG
  }
}

}  // namespace
}  // namespace logtest
