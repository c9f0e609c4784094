// QRNBarCode through its interfaces without a container: registration, type library,
// defaults, the property checks with their error texts, and the text methods.
#include <windows.h>
#include <objsafe.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "QRNBC10_h.h"
#include "com_client.h"
#include "dialog_watcher.h"
#include "processes.h"
#include "qrnbc10_registration.h"
#include "registration_check.h"
#include "registry_reader.h"
#include "test_container.h"
#include "type_library_reader.h"

namespace {

using test::Hex;

const wchar_t kCharactersText[] = L"Some caracters in the source field are not supported in this BarCode caracter set.";
const wchar_t kTooLongText[] = L"Source field tool long! Maximum 255 caracters.";
const wchar_t kBarWidthText[] = L"Bar width must be between 0.20 mm. and 2.50 mm.\n(Unit are in hundredth of millimeters.)";

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test::RegisterBarCodeServer()); }
  test::Apartment apartment_;
};

// Checks that the last call failed with E_INVALIDARG and error text `text` from the control.
void ExpectRefusal(HRESULT status, const wchar_t* text) {
  EXPECT_EQ(E_INVALIDARG, status) << Hex(status);
  const test::ErrorInfoText error = test::TakeErrorInfo();
  ASSERT_TRUE(error.present);
  EXPECT_EQ(std::wstring(text), error.description);
  EXPECT_EQ(L"QUARENT.QRNBarCode.1", error.source);
  EXPECT_TRUE(IsEqualGUID(IID_IQRNBarCode, error.interfaceId));
}

// Checks a failure without a text (any error information left is from elsewhere).
void ExpectPlainRefusal(HRESULT status) {
  EXPECT_EQ(E_INVALIDARG, status) << Hex(status);
  SetErrorInfo(0, nullptr);
}

std::wstring CaptionOf(IQRNBarCode* control) {
  BSTR caption = nullptr;
  EXPECT_EQ(S_OK, control->get_Caption(&caption));
  std::wstring text = caption ? caption : L"";
  SysFreeString(caption);
  return text;
}

TEST_F(ControlTest, RegistersTheControlAndItsPage) {
  const std::wstring control = L"CLSID\\{4C9D157E-6A30-4E82-B5C7-0D2F81E6A9B3}";
  const std::wstring page = L"CLSID\\{8D14F265-2B7C-4A95-9E03-6C58B1D4F7A2}";
  const std::wstring server = test::ReadRegistryString(HKEY_CLASSES_ROOT, control + L"\\InprocServer32").value_or(L"");
  EXPECT_NE(std::wstring::npos, server.find(L"QRNBC10.dll"));
  test::ExpectRegistered(quarent::RegistrationOfQRNBC10(), server);

  // What a container reads, written out by hand.
  struct Row {
    std::wstring key;
    const wchar_t* name;
    const wchar_t* value;
  };
  const Row rows[] = {
      {L"QUARENT.QRNBarCode\\CurVer", nullptr, L"QUARENT.QRNBarCode.1"},
      {control, nullptr, L"QUARENT Stellon Control"},
      {control + L"\\MiscStatus\\1", nullptr, L"131473"},
      {control + L"\\Verb\\0", nullptr, L"&Properties, 0, 2"},
      {control + L"\\TypeLib", nullptr, L"{4C9D1582-6A30-4E82-B5C7-0D2F81E6A9B3}"},
      {page + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(test::Narrow(row.key));
    EXPECT_EQ(std::wstring(row.value), test::ReadRegistryString(HKEY_CLASSES_ROOT, row.key, row.name).value_or(L""));
  }
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_CLASSES_ROOT, control + L"\\Control"));
  EXPECT_EQ(server + L", 101", test::ReadRegistryString(HKEY_CLASSES_ROOT, control + L"\\ToolboxBitmap32"));
}

TEST_F(ControlTest, ResourcesCarryTheProductTitleAndVersion) {
  const std::wstring path = test::BesideProgram(L"QRNBC10.dll");
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(nullptr, module);
  char title[64] = {};
  LoadStringA(module, 1005, title, sizeof title);
  EXPECT_STREQ("QRN Stellon", title);
  char pageTitle[64] = {};
  LoadStringA(module, 1006, pageTitle, sizeof pageTitle);
  EXPECT_STREQ("&BarCode", pageTitle);
  EXPECT_NE(nullptr, FindResourceW(module, MAKEINTRESOURCEW(101), reinterpret_cast<LPCWSTR>(RT_BITMAP)));
  FreeLibrary(module);

  DWORD ignored = 0;
  std::vector<BYTE> block(GetFileVersionInfoSizeW(path.c_str(), &ignored));
  ASSERT_FALSE(block.empty());
  ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length));
  EXPECT_EQ(MAKELONG(2, 1), info->dwFileVersionMS);
  EXPECT_EQ(MAKELONG(0, 5), info->dwFileVersionLS);
}

TEST_F(ControlTest, TypeLibraryNamesTheMembersWithTheirDispatchIds) {
  ITypeLib* library = nullptr;
  ASSERT_EQ(S_OK, LoadRegTypeLib(LIBID_QRNStellon, 1, 0, LOCALE_NEUTRAL, &library));
  BSTR name = nullptr;
  BSTR helpFile = nullptr;
  ASSERT_EQ(S_OK, library->GetDocumentation(-1, &name, nullptr, nullptr, &helpFile));
  EXPECT_STREQ(L"QRNStellon", name);
  EXPECT_NE(nullptr, wcsstr(helpFile, L"QRNBC10.hlp"));
  SysFreeString(name);
  SysFreeString(helpFile);
  library->Release();

  test::HostedControl control(false);
  struct Row {
    const wchar_t* member;
    DISPID id;
  };
  const Row rows[] = {{L"BackColor", -501}, {L"ForeColor", -513},     {L"AutoSize", -500},
                      {L"Font", -512},      {L"Caption", -518},       {L"BarStyle", 1000},
                      {L"Visible", 1},      {L"TextShow", 1001},      {L"TextPrefix", 1002},
                      {L"TextSuffix", 1003}, {L"BarWidth", 1004},     {L"TextAlignment", 1005},
                      {L"BarAlignment", 1006}, {L"BarOrientation", 1007}, {L"IsBarValid", 1008},
                      {L"AboutBox", -552},  {L"StringToBC128Font", 300}, {L"IsStringValid", 301},
                      {L"GetValidSize", 302}, {L"DrawToDC", 303},     {L"_Default", 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(test::Narrow(row.member));
    DISPID id = 12345;
    LPOLESTR names[] = {const_cast<LPOLESTR>(row.member)};
    EXPECT_EQ(S_OK, control->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
    EXPECT_EQ(row.id, id);
  }
}

// A parameter or result type as text: "8" for VT_BSTR, "26>3" for a pointer to VT_I4, an
// enumeration by its name.
// A parameter type as its variant type numbers: "26>3" is a pointer to a long;
// a user-defined type by its name.
std::string TypeText(ITypeInfo* info, const TYPEDESC& type) {
  if (type.vt == VT_PTR) return "26>" + TypeText(info, *type.lptdesc);
  if (type.vt == VT_USERDEFINED) return test::TypeSpelling(info, type);
  return std::to_string(type.vt);
}

// Each function of `info` as "memid kind(parameter types)", in the order of its slots;
// kind g = get, p = put, r = putref, m = method; "o" and "r" mark out and retval parameters.
std::vector<std::string> Functions(ITypeInfo* info) {
  std::vector<std::pair<int, std::string>> slots;
  const std::vector<test::FunctionInfo> functions = test::FunctionsOf(info, TypeText);
  for (size_t index = 0; index < functions.size(); ++index) {
    const test::FunctionInfo& function = functions[index];
    std::string text = std::to_string(function.id);
    switch (function.kind) {
      case INVOKE_PROPERTYGET: text += " g("; break;
      case INVOKE_PROPERTYPUT: text += " p("; break;
      case INVOKE_PROPERTYPUTREF: text += " r("; break;
      default: text += " m("; break;
    }
    for (const test::ParameterInfo& parameter : function.parameters) {
      text += (&parameter != &function.parameters.front() ? "," : "") + parameter.type +
              ((parameter.flags & PARAMFLAG_FOUT) ? "o" : "") + ((parameter.flags & PARAMFLAG_FRETVAL) ? "r" : "");
    }
    slots.emplace_back(function.vtableOffset != 0 ? function.vtableOffset : static_cast<int>(index), text + ")");
  }
  std::sort(slots.begin(), slots.end());
  std::vector<std::string> texts;
  for (const auto& slot : slots) texts.push_back(slot.second);
  return texts;
}

TEST_F(ControlTest, TypeLibraryKeepsSlotsTypesHelpStringsEventsAndConstants) {
  ITypeLib* library = nullptr;
  ASSERT_EQ(S_OK, LoadRegTypeLib(LIBID_QRNStellon, 1, 0, LOCALE_NEUTRAL, &library));
  TLIBATTR* libraryAttributes = nullptr;
  ASSERT_EQ(S_OK, library->GetLibAttr(&libraryAttributes));
  EXPECT_EQ(1, libraryAttributes->wMajorVerNum);
  EXPECT_EQ(0, libraryAttributes->wMinorVerNum);
  library->ReleaseTLibAttr(libraryAttributes);

  // The dual interface's vtable part, slot by slot.
  ITypeInfo* dispatch = nullptr;
  ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(IID_IQRNBarCode, &dispatch));
  HREFTYPE vtableReference = 0;
  ITypeInfo* vtable = nullptr;
  ASSERT_EQ(S_OK, dispatch->GetRefTypeOfImplType(-1, &vtableReference));
  ASSERT_EQ(S_OK, dispatch->GetRefTypeInfo(vtableReference, &vtable));
  // Colours are the OLE_COLOR alias, flags booleans (11), numbers signed 32-bit (3).
  const std::vector<std::string> expected = {
      "0 g(26>8or)", "0 p(8)", "-501 p(OLE_COLOR)", "-501 g(26>OLE_COLORor)", "-513 p(OLE_COLOR)",
      "-513 g(26>OLE_COLORor)", "-500 p(11)",
      "-500 g(26>11or)", "-512 p(26>IFontDisp)", "-512 r(26>IFontDisp)",
      "-512 g(26>26>IFontDispor)", "-518 p(8)", "-518 g(26>8or)", "1000 g(26>Constants_BarCodeSelor)",
      "1000 p(Constants_BarCodeSel)", "1 g(26>11or)", "1 p(11)", "1001 g(26>11or)", "1001 p(11)", "1002 g(26>8or)",
      "1002 p(8)", "1003 g(26>8or)", "1003 p(8)", "1004 g(26>3or)", "1004 p(3)",
      "1005 g(26>Constants_Alignmentor)", "1005 p(Constants_Alignment)", "1006 g(26>Constants_Alignmentor)",
      "1006 p(Constants_Alignment)", "1007 g(26>Constants_Orientationor)", "1007 p(Constants_Orientation)",
      "1008 g(26>11or)", "-552 m()", "300 m(8,Constants_FontSel,26>8or)", "301 m(8,26>11or)",
      "302 m(26>3o,26>3o,26>11or)", "303 m(3,3,3,3,3,26>11or)"};
  EXPECT_EQ(expected, Functions(vtable));
  vtable->Release();

  struct Help {
    MEMBERID member;
    const char* text;
  };
  const Help helps[] = {
      {1004, "Returns/sets the BarCode band width in hundredth of millimeters. (1 unit = 0.01 mm)."},
      {1008, "[ReadOnly] Returns if the BarCode'size is valid."},
      {300, "Return a string ready to use with the BarCode 128 TrueType font."},
      {301, "Verify if a string's characters are parts of the selected barcode characters sets."},
      {302, "Return the valid extent of the control in hundred of millimeters."},
      {303, "Method to draw the BarCode to a device context."}};
  for (const Help& help : helps) {
    SCOPED_TRACE(help.member);
    EXPECT_EQ(help.text, test::HelpStringOf(dispatch, help.member));
  }
  dispatch->Release();

  ITypeInfo* events = nullptr;
  ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(DIID__IQRNBarCodeEvents, &events));
  EXPECT_EQ((std::vector<std::string>{"-600 m()", "-601 m()", "-605 m(2,2,3,3)", "-606 m(2,2,3,3)",
                                      "-607 m(2,2,3,3)"}),
            Functions(events));
  BSTR names[5] = {};
  UINT count = 0;
  ASSERT_EQ(S_OK, events->GetNames(-605, names, 5, &count));
  std::string joined;
  for (UINT index = 0; index < count; ++index) {
    joined += test::Narrow(names[index]) + " ";
    SysFreeString(names[index]);
  }
  EXPECT_EQ("MouseDown Button Shift x y ", joined);
  events->Release();

  struct CoClass {
    const CLSID* id;
    WORD flags;
  };
  const CoClass coclasses[] = {{&CLSID_QRNBarCode, TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL},
                               {&CLSID_QRNBCPage, TYPEFLAG_FCANCREATE | TYPEFLAG_FHIDDEN}};
  for (const CoClass& coclass : coclasses) {
    ITypeInfo* info = nullptr;
    ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(*coclass.id, &info));
    TYPEATTR* attributes = nullptr;
    info->GetTypeAttr(&attributes);
    EXPECT_EQ(coclass.flags, attributes->wTypeFlags & (TYPEFLAG_FCANCREATE | TYPEFLAG_FCONTROL | TYPEFLAG_FHIDDEN));
    info->ReleaseTypeAttr(attributes);
    if (coclass.id == &CLSID_QRNBarCode) {
      INT flags0 = 0, flags1 = 0;
      info->GetImplTypeFlags(0, &flags0);
      info->GetImplTypeFlags(1, &flags1);
      EXPECT_EQ(IMPLTYPEFLAG_FDEFAULT, flags0);
      EXPECT_EQ(IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE, flags1);
    }
    info->Release();
  }

  std::vector<std::string> enumerations;
  for (UINT index = 0; index < library->GetTypeInfoCount(); ++index) {
    TYPEKIND kind;
    if (FAILED(library->GetTypeInfoType(index, &kind)) || kind != TKIND_ENUM) continue;
    quarent::ComPtr<ITypeInfo> info;
    library->GetTypeInfo(index, info.Receive());
    std::string text = test::NameOf(info.Get(), MEMBERID_NIL) + ":";
    for (const test::ConstantInfo& constant : test::ConstantsOf(info.Get())) {
      text += " " + constant.name + "=" + std::to_string(constant.value);
    }
    enumerations.push_back(text);
  }
  std::sort(enumerations.begin(), enumerations.end());
  EXPECT_EQ((std::vector<std::string>{
                "Constants_Alignment: qrnLeft=1 qrnRight=2 qrnCenter=3",
                "Constants_BarCodeSel: qrnBarCode128=1 qrnBarCode128A=2 qrnBarCode128B=3 qrnBarCode128C=4 "
                "qrnBarCode39=5 qrnBarCode2of5=6 qrnBarCode11=7 qrnBarCodeCodeabar=8 qrnBarCodeMSI=9",
                "Constants_FontSel: qrnFont128=1 qrnFont128A=2 qrnFont128B=3 qrnFont128C=4",
                "Constants_Orientation: qrnHorizontally=1 qrnVerticallyUp=2 qrnVerticallyDown=3"}),
            enumerations);
  library->Release();
}

TEST_F(ControlTest, StartsWithTheDefaults) {
  test::HostedControl control(false);
  OLE_COLOR color = 1;
  VARIANT_BOOL flag = 1;
  LONG number = 0;
  Constants_BarCodeSel style;
  Constants_Alignment alignment;
  Constants_Orientation orientation;
  EXPECT_EQ(S_OK, control->get_BackColor(&color));
  EXPECT_EQ(0xFFFFFFu, color);
  EXPECT_EQ(S_OK, control->get_ForeColor(&color));
  EXPECT_EQ(0u, color);
  EXPECT_EQ(S_OK, control->get_AutoSize(&flag));
  EXPECT_EQ(VARIANT_FALSE, flag);
  EXPECT_EQ(L"QUARENT", CaptionOf(control.Get()));
  EXPECT_EQ(S_OK, control->get_BarStyle(&style));
  EXPECT_EQ(qrnBarCode128, style);
  EXPECT_EQ(S_OK, control->get_Visible(&flag));
  EXPECT_EQ(VARIANT_TRUE, flag);
  EXPECT_EQ(S_OK, control->get_TextShow(&flag));
  EXPECT_EQ(VARIANT_TRUE, flag);
  EXPECT_EQ(S_OK, control->get_BarWidth(&number));
  EXPECT_EQ(35, number);
  EXPECT_EQ(S_OK, control->get_TextAlignment(&alignment));
  EXPECT_EQ(qrnCenter, alignment);
  EXPECT_EQ(S_OK, control->get_BarAlignment(&alignment));
  EXPECT_EQ(qrnLeft, alignment);
  EXPECT_EQ(S_OK, control->get_BarOrientation(&orientation));
  EXPECT_EQ(qrnHorizontally, orientation);
  EXPECT_EQ(S_OK, control->get_IsBarValid(&flag));
  EXPECT_EQ(VARIANT_FALSE, flag);
  IFontDisp* font = reinterpret_cast<IFontDisp*>(1);
  EXPECT_EQ(S_OK, control->get_Font(&font));
  EXPECT_EQ(nullptr, font) << "no font before the control has a site";
}

TEST_F(ControlTest, EveryGetterRefusesANullResultLocation) {
  test::HostedControl control(false);
  IQRNBarCode* c = control.Get();
  const std::function<HRESULT()> calls[] = {
      [c] { return c->get__Default(nullptr); },       [c] { return c->get_BackColor(nullptr); },
      [c] { return c->get_ForeColor(nullptr); },      [c] { return c->get_AutoSize(nullptr); },
      [c] { return c->get_Font(nullptr); },           [c] { return c->get_Caption(nullptr); },
      [c] { return c->get_BarStyle(nullptr); },       [c] { return c->get_Visible(nullptr); },
      [c] { return c->get_TextShow(nullptr); },       [c] { return c->get_TextPrefix(nullptr); },
      [c] { return c->get_TextSuffix(nullptr); },     [c] { return c->get_BarWidth(nullptr); },
      [c] { return c->get_TextAlignment(nullptr); },  [c] { return c->get_BarAlignment(nullptr); },
      [c] { return c->get_BarOrientation(nullptr); }, [c] { return c->get_IsBarValid(nullptr); },
      [c] { return c->IsStringValid(nullptr, nullptr); },
      [c] { return c->StringToBC128Font(nullptr, qrnFont128, nullptr); },
      [c] { LONG cy; VARIANT_BOOL r; return c->GetValidSize(nullptr, &cy, &r); },
      [c] { LONG cx; VARIANT_BOOL r; return c->GetValidSize(&cx, nullptr, &r); },
      [c] { LONG cx, cy; return c->GetValidSize(&cx, &cy, nullptr); },
      [c] { return c->DrawToDC(0, 0, 0, 10, 10, nullptr); },
  };
  int row = 0;
  for (const auto& call : calls) {
    SCOPED_TRACE(row++);
    EXPECT_EQ(E_POINTER, call());
  }
}

TEST_F(ControlTest, BarWidthAcceptsTwentyToTwoHundredFifty) {
  test::HostedControl control(false);
  struct Row {
    LONG width;
    bool accepted;
  };
  const Row rows[] = {{19, false}, {20, true}, {35, true}, {250, true}, {251, false}, {0, false}, {-20, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.width);
    ASSERT_EQ(S_OK, control->put_BarWidth(77));
    const HRESULT status = control->put_BarWidth(row.width);
    LONG stored = 0;
    control->get_BarWidth(&stored);
    if (row.accepted) {
      EXPECT_EQ(S_OK, status);
      EXPECT_EQ(row.width, stored);
    } else {
      ExpectRefusal(status, kBarWidthText);
      EXPECT_EQ(77, stored);
    }
  }
}

TEST_F(ControlTest, EnumerationsOutsideTheirRangeAreRefusedWithoutText) {
  test::HostedControl control(false);
  IQRNBarCode* c = control.Get();
  test::Bstr digits(L"1");  // a caption styles 1 and 9 both accept
  ASSERT_EQ(S_OK, c->put_Caption(digits.Get()));
  struct Row {
    const char* name;
    std::function<HRESULT(LONG)> put;
    LONG low;
    LONG high;
  };
  const Row rows[] = {
      {"BarStyle", [c](LONG v) { return c->put_BarStyle(static_cast<Constants_BarCodeSel>(v)); }, 1, 9},
      {"TextAlignment", [c](LONG v) { return c->put_TextAlignment(static_cast<Constants_Alignment>(v)); }, 1, 3},
      {"BarAlignment", [c](LONG v) { return c->put_BarAlignment(static_cast<Constants_Alignment>(v)); }, 1, 3},
      {"BarOrientation", [c](LONG v) { return c->put_BarOrientation(static_cast<Constants_Orientation>(v)); }, 1, 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ExpectPlainRefusal(row.put(row.low - 1));
    ExpectPlainRefusal(row.put(row.high + 1));
    EXPECT_EQ(S_OK, row.put(row.high));
    EXPECT_EQ(S_OK, row.put(row.low));
  }
}

TEST_F(ControlTest, CaptionIsCheckedAgainstTheStyleAndItsLength) {
  test::HostedControl control(false);
  struct Row {
    Constants_BarCodeSel style;
    std::wstring caption;
    const wchar_t* refusal;  // null: accepted
  };
  const Row rows[] = {
      {qrnBarCode128, L"abc 123", nullptr},
      {qrnBarCode128, std::wstring(255, L'x'), nullptr},
      {qrnBarCode128, std::wstring(256, L'x'), kTooLongText},
      {qrnBarCode128, L"tab\there", kCharactersText},
      {qrnBarCode128A, L"lower", kCharactersText},
      {qrnBarCode128C, L"12A", kCharactersText},
      {qrnBarCode39, L"QUARENT", nullptr},
      {qrnBarCode39, L"quarent", kCharactersText},
      {qrnBarCodeMSI, L"0123456789", nullptr},
      {qrnBarCodeMSI, std::wstring(256, L'1'), kTooLongText},
      {qrnBarCodeCodeabar, L"A123B", nullptr},
      {qrnBarCodeCodeabar, L"123", kCharactersText},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(test::Narrow(row.caption.substr(0, 20)) + " style " + std::to_string(row.style));
    test::Bstr start(L"");
    ASSERT_EQ(S_OK, control->put_Caption(start.Get()));
    ASSERT_EQ(S_OK, control->put_BarStyle(row.style));
    test::Bstr caption(row.caption.c_str());
    const HRESULT status = control->put_Caption(caption.Get());
    if (row.refusal == nullptr) {
      EXPECT_EQ(S_OK, status) << Hex(status);
      EXPECT_EQ(row.caption, CaptionOf(control.Get()));
    } else {
      ExpectRefusal(status, row.refusal);
      EXPECT_EQ(L"", CaptionOf(control.Get()));
    }
  }
}

TEST_F(ControlTest, StyleIsCheckedAgainstTheCurrentCaption) {
  test::HostedControl control(false);
  EXPECT_EQ(S_OK, control->put_BarStyle(qrnBarCode39)) << "the default caption QUARENT is Code 39 text";
  ASSERT_EQ(S_OK, control->put_BarStyle(qrnBarCode128));
  test::Bstr lower(L"quarent");
  ASSERT_EQ(S_OK, control->put_Caption(lower.Get()));
  ExpectRefusal(control->put_BarStyle(qrnBarCode39), kCharactersText);
  Constants_BarCodeSel style;
  control->get_BarStyle(&style);
  EXPECT_EQ(qrnBarCode128, style);
}

TEST_F(ControlTest, PropertiesWorkThroughIDispatchWithTheirErrorTexts) {
  test::HostedControl control(false);
  test::DispatchResult result;
  test::CallByName(control.Get(), L"BarWidth", DISPATCH_PROPERTYPUT, {test::LongArgument(300)}, result);
  EXPECT_EQ(DISP_E_EXCEPTION, result.status) << Hex(result.status);
  EXPECT_EQ(E_INVALIDARG, result.exception.scode);
  ASSERT_NE(nullptr, result.exception.bstrDescription);
  EXPECT_EQ(std::wstring(kBarWidthText), result.exception.bstrDescription);
  SetErrorInfo(0, nullptr);

  test::DispatchResult put;
  test::CallByName(control.Get(), L"Caption", DISPATCH_PROPERTYPUT, {test::StringArgument(L"BY NAME")}, put);
  EXPECT_EQ(S_OK, put.status);
  // The default member is the caption.
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  VARIANT value;
  VariantInit(&value);
  EXPECT_EQ(S_OK, control->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value,
                                  nullptr, nullptr));
  ASSERT_EQ(VT_BSTR, value.vt);
  EXPECT_STREQ(L"BY NAME", value.bstrVal);
  VariantClear(&value);
}

// Characters of a font string as numbers, for comparisons.
std::vector<int> Codes(BSTR text) {
  std::vector<int> codes;
  const std::string ansi = test::Narrow(text ? text : L"");
  char buffer[512] = {};
  WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
  for (const char* at = buffer; *at; ++at) codes.push_back(static_cast<unsigned char>(*at));
  return codes;
}

TEST_F(ControlTest, StringToBC128FontConvertsChecksAndRefuses) {
  test::HostedControl control(false);
  // AB in set A: START A (103 -> 200), 'A' 33 -> 65, 'B' 34 -> 66,
  // check (103 + 33*1 + 34*2) mod 103 = 101 -> 198, STOP -> 203.
  BSTR result = nullptr;
  test::Bstr ab(L"AB");
  ASSERT_EQ(S_OK, control->StringToBC128Font(ab.Get(), qrnFont128, &result));
  EXPECT_EQ((std::vector<int>{200, 65, 66, 198, 203}), Codes(result));
  SysFreeString(result);

  // Set C of 1234: START C 105 -> 202, 12 -> 44, 34 -> 66,
  // check (105 + 12 + 68) mod 103 = 82 -> 114, STOP.
  result = nullptr;
  test::Bstr digits(L"1234");
  ASSERT_EQ(S_OK, control->StringToBC128Font(digits.Get(), qrnFont128C, &result));
  EXPECT_EQ((std::vector<int>{202, 44, 66, 114, 203}), Codes(result));
  SysFreeString(result);

  BSTR untouched = reinterpret_cast<BSTR>(0x1234);
  EXPECT_EQ(E_OUTOFMEMORY, control->StringToBC128Font(ab.Get(), static_cast<Constants_FontSel>(5), &untouched));
  EXPECT_EQ(reinterpret_cast<BSTR>(0x1234), untouched);

  result = nullptr;
  test::Bstr tab(L"A\tB");
  ExpectRefusal(control->StringToBC128Font(tab.Get(), qrnFont128, &result), kCharactersText);
  EXPECT_EQ(0u, SysStringLen(result));
  SysFreeString(result);

  result = nullptr;
  test::Bstr longText(std::wstring(256, L'A').c_str());
  ExpectRefusal(control->StringToBC128Font(longText.Get(), qrnFont128, &result), kTooLongText);
  SysFreeString(result);

  // The check uses the control's style, not the mode: under Code 39, lower case is refused.
  ASSERT_EQ(S_OK, control->put_BarStyle(qrnBarCode39));
  result = nullptr;
  test::Bstr lower(L"ab");
  ExpectRefusal(control->StringToBC128Font(lower.Get(), qrnFont128B, &result), kCharactersText);
  SysFreeString(result);
}

TEST_F(ControlTest, IsStringValidFollowsTheCurrentStyle) {
  test::HostedControl control(false);
  struct Row {
    Constants_BarCodeSel style;
    std::wstring text;  // owned: a pointer into a temporary would dangle past this declaration
    VARIANT_BOOL valid;
  };
  const Row rows[] = {{qrnBarCode39, L"ABC", VARIANT_TRUE},  {qrnBarCode39, L"abc", VARIANT_FALSE},
                      {qrnBarCode2of5, L"123", VARIANT_TRUE}, {qrnBarCode2of5, L"12-", VARIANT_FALSE},
                      {qrnBarCode11, L"12-", VARIANT_TRUE},   {qrnBarCodeMSI, L"", VARIANT_TRUE},
                      {qrnBarCode128, std::wstring(300, L'a'), VARIANT_TRUE}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.style);
    test::Bstr empty(L"");
    control->put_Caption(empty.Get());
    ASSERT_EQ(S_OK, control->put_BarStyle(row.style));
    test::Bstr text(row.text.c_str());
    VARIANT_BOOL valid = 7;
    EXPECT_EQ(S_OK, control->IsStringValid(text.Get(), &valid));
    EXPECT_EQ(row.valid, valid);
  }
}

TEST_F(ControlTest, TextsThatDoNotConvertExactlyAreValidForNoStyle) {
  test::HostedControl control(false);
  // The ANSI code page would make each of them other characters: "?" for one it lacks, a
  // best-fit look-alike ("A" for U+0100 and the fullwidth U+FF21) for others.
  const std::wstring texts[] = {L"\u4E2D", L"\u0100\u0100", L"\uFF21", L"AB\u4E2DCD", std::wstring(1, wchar_t(0xD800))};
  for (int style = qrnBarCode128; style <= qrnBarCodeMSI; ++style) {
    test::Bstr empty(L"");
    ASSERT_EQ(S_OK, control->put_Caption(empty.Get()));
    ASSERT_EQ(S_OK, control->put_BarStyle(static_cast<Constants_BarCodeSel>(style)));
    for (const std::wstring& row : texts) {
      SCOPED_TRACE(testing::Message() << "style " << style << " text of " << row.size() << " starting U+" << std::hex
                                      << static_cast<int>(row[0]));
      test::Bstr text(row.c_str());
      VARIANT_BOOL valid = 7;
      EXPECT_EQ(S_OK, control->IsStringValid(text.Get(), &valid));
      EXPECT_EQ(VARIANT_FALSE, valid);
      ExpectRefusal(control->put_Caption(text.Get()), kCharactersText);
      EXPECT_EQ(L"", CaptionOf(control.Get()));
      BSTR converted = nullptr;
      ExpectRefusal(control->StringToBC128Font(text.Get(), qrnFont128, &converted), kCharactersText);
      EXPECT_EQ(0u, SysStringLen(converted));
      SysFreeString(converted);
    }
  }
}

TEST_F(ControlTest, CategorizesItsOwnPropertiesAsBarCode) {
  test::HostedControl control(false);
  ICategorizeProperties* categories = control.As<ICategorizeProperties>(IID_ICategorizeProperties);
  ASSERT_NE(nullptr, categories);
  struct Row {
    DISPID id;
    bool mapped;
  };
  const Row rows[] = {{1000, true}, {1004, true}, {1099, true}, {999, false}, {1100, false}, {-501, false}, {1, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    PROPCAT category = 0;
    const HRESULT status = categories->MapPropertyToCategory(row.id, &category);
    EXPECT_EQ(row.mapped, SUCCEEDED(status)) << Hex(status);
    if (row.mapped) {
      EXPECT_EQ(1, category);
    }
  }
  BSTR name = nullptr;
  EXPECT_EQ(S_OK, categories->GetCategoryName(1, 0x409, &name));
  EXPECT_STREQ(L"BarCode", name);
  SysFreeString(name);
  name = nullptr;
  EXPECT_TRUE(FAILED(categories->GetCategoryName(2, 0x409, &name)));
  categories->Release();
}

TEST_F(ControlTest, ObjectSafetyOffersSafeForUntrustedDataOnly) {
  test::HostedControl control(false);
  IObjectSafety* safety = control.As<IObjectSafety>(IID_IObjectSafety);
  ASSERT_NE(nullptr, safety);
  struct Row {
    const char* name;
    const IID* iid;
    DWORD mask;
    DWORD enabled;
    HRESULT expected;
  };
  const Row rows[] = {
      {"bag, exactly the option", &IID_IPersistPropertyBag, 2, 2, S_OK},
      {"bag, option off", &IID_IPersistPropertyBag, 2, 0, E_FAIL},
      {"bag, scripting", &IID_IPersistPropertyBag, 1, 1, E_FAIL},
      {"dispatch, data", &IID_IDispatch, 2, 2, S_OK},
      {"dispatch, scripting", &IID_IDispatch, 1, 1, E_FAIL},
      {"dispatch, both", &IID_IDispatch, 3, 3, E_FAIL},
      {"unknown interface", &IID_IPersistFile, 2, 2, E_NOINTERFACE},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.expected, safety->SetInterfaceSafetyOptions(*row.iid, row.mask, row.enabled));
  }
  DWORD supported = 0;
  DWORD enabled = 0;
  EXPECT_EQ(S_OK, safety->GetInterfaceSafetyOptions(IID_IDispatch, &supported, &enabled));
  EXPECT_EQ(2u, supported);
  EXPECT_EQ(2u, enabled) << "recorded by the accepted call above";
  safety->Release();
}

TEST_F(ControlTest, ListsItsPageBeforeTheStockFontAndColourPages) {
  test::HostedControl control(false);
  ISpecifyPropertyPages* specify = control.As<ISpecifyPropertyPages>(IID_ISpecifyPropertyPages);
  ASSERT_NE(nullptr, specify);
  CAUUID pages = {};
  ASSERT_EQ(S_OK, specify->GetPages(&pages));
  ASSERT_EQ(3u, pages.cElems);
  // The stock pages' class ids as the platform publishes them.
  const GUID fontPage = {0x7ebdaae0, 0x8120, 0x11cf, {0x89, 0x9f, 0x00, 0xaa, 0x00, 0x68, 0x8b, 0x10}};
  const GUID colourPage = {0x7ebdaae1, 0x8120, 0x11cf, {0x89, 0x9f, 0x00, 0xaa, 0x00, 0x68, 0x8b, 0x10}};
  EXPECT_TRUE(IsEqualGUID(CLSID_QRNBCPage, pages.pElems[0]));
  EXPECT_TRUE(IsEqualGUID(fontPage, pages.pElems[1]));
  EXPECT_TRUE(IsEqualGUID(colourPage, pages.pElems[2]));
  CoTaskMemFree(pages.pElems);
  specify->Release();
}

TEST_F(ControlTest, AboutBoxShowsTheProductTitleAndFileVersion) {
  test::HostedControl control(false);
  std::string text;
  const HRESULT status =
      test::WithDialog([&] { return control->AboutBox(); }, [&](HWND dialog) { text = test::StaticTexts(dialog); });
  EXPECT_EQ(S_OK, status);
  EXPECT_EQ("QRN Stellon  v1.2.5.0", text);
}

TEST_F(ControlTest, AnswersTheStandardControlInterfaces) {
  test::HostedControl control(false);
  const IID* interfaces[] = {&IID_IOleObject,         &IID_IOleInPlaceObject, &IID_IOleInPlaceActiveObject,
                             &IID_IViewObject2,       &IID_IViewObjectEx,     &IID_IOleControl,
                             &IID_IQuickActivate,     &IID_IPersistStreamInit, &IID_IPersistStorage,
                             &IID_IPersistPropertyBag, &IID_IDataObject,      &IID_IConnectionPointContainer,
                             &IID_IProvideClassInfo2, &IID_ISupportErrorInfo, &IID_IDispatch};
  int row = 0;
  for (const IID* iid : interfaces) {
    SCOPED_TRACE(row++);
    IUnknown* answered = nullptr;
    EXPECT_EQ(S_OK, control->QueryInterface(*iid, reinterpret_cast<void**>(&answered)));
    if (answered) answered->Release();
  }
  ISupportErrorInfo* support = control.As<ISupportErrorInfo>(IID_ISupportErrorInfo);
  EXPECT_EQ(S_OK, support->InterfaceSupportsErrorInfo(IID_IQRNBarCode));
  EXPECT_EQ(S_FALSE, support->InterfaceSupportsErrorInfo(IID_IOleObject));
  support->Release();
  IOleObject* object = control.As<IOleObject>(IID_IOleObject);
  DWORD status = 0;
  EXPECT_EQ(S_OK, object->GetMiscStatus(DVASPECT_CONTENT, &status));
  EXPECT_EQ(131473u, status);
  object->Release();
}

}  // namespace
