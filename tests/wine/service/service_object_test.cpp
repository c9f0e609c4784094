// QUARENT.QRNOrtivo as a compiled client sees it: creation by ProgID, the
// defaults and checks of its properties, the one-object rule with its error
// text, its type information and its registry entries.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "aggregating_outer.h"
#include "com_client.h"
#include "dialog_watcher.h"
#include "ortivo_client.h"
#include "processes.h"
#include "qrnntsrv_registration.h"
#include "registration_check.h"
#include "registry_reader.h"
#include "type_library_reader.h"

namespace {

using test::ComPtr;
using test::Hex;
using test::TakeString;
using test::Text;

class ServiceObjectTest : public test::OrtivoTest {
 protected:
  std::wstring Get(HRESULT (STDMETHODCALLTYPE IOrtivo::*getter)(BSTR*)) {
    BSTR value = nullptr;
    EXPECT_EQ((ortivo.Get()->*getter)(&value), S_OK);
    return TakeString(value);
  }

  std::wstring ServiceName() { return Get(&IOrtivo::get_ServiceName); }
};

TEST_F(ServiceObjectTest, NewObjectHasTheDocumentedDefaults) {
  EXPECT_EQ(ServiceName(), L"");
  EXPECT_EQ(Get(&IOrtivo::get_DisplayName), L"");
  EXPECT_EQ(Get(&IOrtivo::get_Account), L"");
  EXPECT_EQ(Get(&IOrtivo::get_Password), L"");
  EXPECT_EQ(Get(&IOrtivo::get_LoadOrderGroup), L"");
  EXPECT_EQ(Get(&IOrtivo::get_Dependencies), L"");
  Constants_Controls controls{};
  EXPECT_EQ(ortivo->get_ControlsAccepted(&controls), S_OK);
  EXPECT_EQ(controls, 1);
  Constants_StartMode startMode{};
  EXPECT_EQ(ortivo->get_StartMode(&startMode), S_OK);
  EXPECT_EQ(startMode, 3);
  VARIANT_BOOL flag = 123;
  EXPECT_EQ(ortivo->get_Debug(&flag), S_OK);
  EXPECT_EQ(flag, VARIANT_FALSE);
  flag = 123;
  EXPECT_EQ(ortivo->get_Interactive(&flag), S_OK);
  EXPECT_EQ(flag, VARIANT_FALSE);
  flag = 123;
  EXPECT_EQ(ortivo->get_Running(&flag), S_OK);
  EXPECT_EQ(flag, VARIANT_FALSE);
  Constants_Status status = qrnStatusPaused;
  EXPECT_EQ(ortivo->get_CurrentStatus(&status), S_OK);
  EXPECT_EQ(status, 0);
}

TEST_F(ServiceObjectTest, ServiceNameIsCheckedAndRefusalsChangeNothing) {
  struct Case {
    const char* note;
    std::wstring name;
    HRESULT status;
    std::wstring readBack;  // after the put
  };
  const std::wstring longest(64, L'S');
  const Case cases[] = {
      {"ordinary name", L"Quarent", S_OK, L"Quarent"},
      {"64 characters are kept whole", longest, S_OK, longest},
      {"65 characters are refused", std::wstring(65, L'T'), E_INVALIDARG, longest},
      {"backslash anywhere", L"Qua\\rent", E_INVALIDARG, longest},
      {"slash anywhere", L"Quarent/", E_INVALIDARG, longest},
      {"leading slash", L"/Quarent", E_INVALIDARG, longest},
      {"empty name is accepted", L"", S_OK, L""},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    test::ClearErrorInfo();
    EXPECT_EQ(Hex(ortivo->put_ServiceName(Text(row.name))), Hex(row.status));
    EXPECT_FALSE(test::TakeErrorInfo().present) << "no error text for a refused name";
    EXPECT_EQ(ServiceName(), row.readBack);
  }
  // A null string counts as empty.
  EXPECT_EQ(ortivo->put_ServiceName(nullptr), S_OK);
  EXPECT_EQ(ServiceName(), L"");
}

TEST_F(ServiceObjectTest, DisplayNameMustBeShorterThan256Characters) {
  const std::wstring accepted(255, L'D');
  EXPECT_EQ(ortivo->put_DisplayName(Text(accepted)), S_OK);
  EXPECT_EQ(Get(&IOrtivo::get_DisplayName), accepted);
  test::ClearErrorInfo();
  EXPECT_EQ(Hex(ortivo->put_DisplayName(Text(std::wstring(256, L'E')))), Hex(E_INVALIDARG));
  EXPECT_FALSE(test::TakeErrorInfo().present);
  EXPECT_EQ(Get(&IOrtivo::get_DisplayName), accepted);
}

TEST_F(ServiceObjectTest, OtherPropertiesStoreWhatTheyReceive) {
  EXPECT_EQ(ortivo->put_Account(Text(L".\\operator")), S_OK);
  EXPECT_EQ(ortivo->put_Password(Text(L"s3cret")), S_OK);
  EXPECT_EQ(ortivo->put_LoadOrderGroup(Text(L"Group")), S_OK);
  EXPECT_EQ(ortivo->put_Dependencies(Text(L"Other")), S_OK);
  EXPECT_EQ(Get(&IOrtivo::get_Account), L".\\operator");
  EXPECT_EQ(Get(&IOrtivo::get_Password), L"s3cret");
  EXPECT_EQ(Get(&IOrtivo::get_LoadOrderGroup), L"Group");
  EXPECT_EQ(Get(&IOrtivo::get_Dependencies), L"Other");

  EXPECT_EQ(ortivo->put_ControlsAccepted(static_cast<Constants_Controls>(255)), S_OK);
  EXPECT_EQ(ortivo->put_StartMode(static_cast<Constants_StartMode>(99)), S_OK);
  EXPECT_EQ(ortivo->put_Debug(1), S_OK);
  EXPECT_EQ(ortivo->put_Interactive(VARIANT_TRUE), S_OK);
  Constants_Controls controls{};
  Constants_StartMode startMode{};
  VARIANT_BOOL debug = 0;
  VARIANT_BOOL interactive = 0;
  ortivo->get_ControlsAccepted(&controls);
  ortivo->get_StartMode(&startMode);
  ortivo->get_Debug(&debug);
  ortivo->get_Interactive(&interactive);
  EXPECT_EQ(controls, 255);
  EXPECT_EQ(startMode, 99);
  EXPECT_EQ(debug, 1) << "a boolean is stored as sent";
  EXPECT_EQ(interactive, VARIANT_TRUE);
}

TEST_F(ServiceObjectTest, MissingResultLocationsGiveEPointer) {
  IOrtivo* o = ortivo.Get();
  VARIANT none;
  VariantInit(&none);
  const std::pair<const char*, std::function<HRESULT()>> calls[] = {
      {"Account", [&] { return o->get_Account(nullptr); }},
      {"ControlsAccepted", [&] { return o->get_ControlsAccepted(nullptr); }},
      {"Debug", [&] { return o->get_Debug(nullptr); }},
      {"LoadOrderGroup", [&] { return o->get_LoadOrderGroup(nullptr); }},
      {"Dependencies", [&] { return o->get_Dependencies(nullptr); }},
      {"DisplayName", [&] { return o->get_DisplayName(nullptr); }},
      {"Interactive", [&] { return o->get_Interactive(nullptr); }},
      {"Password", [&] { return o->get_Password(nullptr); }},
      {"ServiceName", [&] { return o->get_ServiceName(nullptr); }},
      {"StartMode", [&] { return o->get_StartMode(nullptr); }},
      {"Running", [&] { return o->get_Running(nullptr); }},
      {"CurrentStatus", [&] { return o->get_CurrentStatus(nullptr); }},
      {"GetAllSettings", [&] { return o->GetAllSettings(Text(L"S"), nullptr); }},
      {"GetSetting", [&] { return o->GetSetting(Text(L"S"), Text(L"K"), none, nullptr); }},
      {"Install", [&] { return o->Install(nullptr); }},
      {"LogEvent", [&] { return o->LogEvent(qrnEventInformation, qrnMessageInfo, Text(L"x"), nullptr); }},
      {"StartService", [&] { return o->StartService(VARIANT_FALSE, nullptr); }},
      {"Uninstall", [&] { return o->Uninstall(nullptr); }},
  };
  for (const auto& [name, call] : calls) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Hex(call()), Hex(E_POINTER));
  }
}

TEST_F(ServiceObjectTest, OnlyOneObjectPerProcess) {
  test::ClearErrorInfo();
  HRESULT status = S_OK;
  ComPtr<IOrtivo> second = test::CreateOrtivo(&status);
  EXPECT_FALSE(second);
  EXPECT_EQ(Hex(status), Hex(E_FAIL));
  test::ExpectErrorText(L"Only one instance of this object can be created.");

  // The refused object has gone again: once the first is released, a new one can be made.
  ortivo.Reset();
  ComPtr<IOrtivo> third = test::CreateOrtivo(&status);
  EXPECT_TRUE(third) << Hex(status);
  ComPtr<IOrtivo> fourth = test::CreateOrtivo(&status);
  EXPECT_FALSE(fourth);
}

TEST_F(ServiceObjectTest, InterfacesAndClassInformation) {
  EXPECT_TRUE(ortivo.As<IDispatch>());
  EXPECT_TRUE(ortivo.As<IConnectionPointContainer>());
  EXPECT_TRUE(ortivo.As<IProvideClassInfo>());
  ComPtr<ISupportErrorInfo> support = ortivo.As<ISupportErrorInfo>();
  ASSERT_TRUE(support);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IOrtivo), S_OK);
  EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);

  ComPtr<IProvideClassInfo2> classInfo = ortivo.As<IProvideClassInfo2>();
  ASSERT_TRUE(classInfo);
  GUID source = GUID_NULL;
  EXPECT_EQ(classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source), S_OK);
  EXPECT_TRUE(IsEqualGUID(source, DIID__IOrtivoEvents));
  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(classInfo->GetClassInfo(coclass.Receive()), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(coclass->GetTypeAttr(&attributes), S_OK);
  EXPECT_TRUE(IsEqualGUID(attributes->guid, CLSID_QRNOrtivo));
  EXPECT_EQ(attributes->cImplTypes, 2);
  coclass->ReleaseTypeAttr(attributes);

  ComPtr<IConnectionPointContainer> container = ortivo.As<IConnectionPointContainer>();
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(container->FindConnectionPoint(DIID__IOrtivoEvents, point.Receive()), S_OK);
}

TEST_F(ServiceObjectTest, AboutBoxShowsTheTitleLineUntilOk) {
  std::string titleLine;
  const HRESULT status = test::WithDialog([&] { return ortivo->AboutBox(); },
                                          [&](HWND dialog) {
                                            ASSERT_NE(dialog, nullptr) << "no About dialog appeared";
                                            titleLine = test::DialogItemText(dialog, 9001);
                                          });
  EXPECT_EQ(Hex(status), Hex(S_OK));
  EXPECT_EQ(titleLine, "QUARENT Ortivo  v1.0.0.1");
}

TEST(ServiceAggregationTest, OuterObjectMustAskForIUnknown) {
  test::Apartment apartment;
  test::RegisterServiceComponent();
  test::AggregatingOuter outer;
  EXPECT_EQ(Hex(CoCreateInstance(CLSID_QRNOrtivo, &outer, CLSCTX_INPROC_SERVER, IID_IOrtivo,
                                 reinterpret_cast<void**>(&outer.inner))),
            Hex(CLASS_E_NOAGGREGATION));
  ASSERT_EQ(Hex(CoCreateInstance(CLSID_QRNOrtivo, &outer, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                 reinterpret_cast<void**>(&outer.inner))),
            Hex(S_OK));
  IOrtivo* ortivo = nullptr;
  ASSERT_EQ(outer.QueryInterface(IID_IOrtivo, reinterpret_cast<void**>(&ortivo)), S_OK);
  IUnknown* identity = nullptr;
  ortivo->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
  EXPECT_EQ(identity, static_cast<IUnknown*>(&outer)) << "the inner object answers for the outer one";
  identity->Release();
  EXPECT_EQ(ortivo->put_ServiceName(test::Text(L"Aggregated")), S_OK);
  ortivo->Release();
  outer.inner->Release();
  // The aggregated object counted as the one object of the process until now.
  ComPtr<IOrtivo> next = test::CreateOrtivo();
  EXPECT_TRUE(next);
}

struct Member {
  const wchar_t* name;
  DISPID id;
  INVOKEKIND kind;
  DWORD helpContext;
  const wchar_t* helpString;
};

// The members of IOrtivo in vtable order (each get before its put), as published.
const Member kOrtivoMembers[] = {
    {L"Account", 1, INVOKE_PROPERTYGET, 14, L"Returns/sets the account name which the service will be logged on when it runs."},
    {L"Account", 1, INVOKE_PROPERTYPUT, 14, nullptr},
    {L"ControlsAccepted", 2, INVOKE_PROPERTYGET, 16, L"Returns/sets whether the service process additional control signals like Pause and Continue."},
    {L"ControlsAccepted", 2, INVOKE_PROPERTYPUT, 16, nullptr},
    {L"Debug", 3, INVOKE_PROPERTYGET, 17, L"Returns/sets whether the service runs in the development environment or from the console."},
    {L"Debug", 3, INVOKE_PROPERTYPUT, 17, nullptr},
    {L"LoadOrderGroup", 4, INVOKE_PROPERTYGET, 18, L"Returns/sets the names of the load ordering group of which the service is a member."},
    {L"LoadOrderGroup", 4, INVOKE_PROPERTYPUT, 18, nullptr},
    {L"Dependencies", 5, INVOKE_PROPERTYGET, 20, L"Returns/sets the names services or load ordering groups that must start before this service."},
    {L"Dependencies", 5, INVOKE_PROPERTYPUT, 20, nullptr},
    {L"DisplayName", 6, INVOKE_PROPERTYGET, 21, L"Returns/sets the string that is to be used by user interface programs to identify the service."},
    {L"DisplayName", 6, INVOKE_PROPERTYPUT, 21, nullptr},
    {L"Interactive", 7, INVOKE_PROPERTYGET, 22, L"Returns/sets whether the service interacts with the desktop."},
    {L"Interactive", 7, INVOKE_PROPERTYPUT, 22, nullptr},
    {L"Password", 8, INVOKE_PROPERTYGET, 15, L"Returns/sets the password for the account which the service will be logged on when it runs."},
    {L"Password", 8, INVOKE_PROPERTYPUT, 15, nullptr},
    {L"ServiceName", 9, INVOKE_PROPERTYGET, 23, L"Returns/sets the name of the service."},
    {L"ServiceName", 9, INVOKE_PROPERTYPUT, 23, nullptr},
    {L"StartMode", 10, INVOKE_PROPERTYGET, 24, L"Returns/sets when to start the service."},
    {L"StartMode", 10, INVOKE_PROPERTYPUT, 24, nullptr},
    {L"Running", 11, INVOKE_PROPERTYGET, 25, L"Returns whether the service is running."},
    {L"CurrentStatus", 12, INVOKE_PROPERTYGET, 26, L"Returns the current status of the service."},
    {L"DeleteSetting", 21, INVOKE_FUNC, 27, L"Deletes a section or key setting from the Windows registry entry."},
    {L"GetAllSettings", 22, INVOKE_FUNC, 28, L"Returns a list of key settings and their respective values from an application's Windows registry entry."},
    {L"GetSetting", 23, INVOKE_FUNC, 29, L"Returns a key setting value from an application's Windows registry entry."},
    {L"Install", 24, INVOKE_FUNC, 30, L"Installs a service and adds it to the services controller database."},
    {L"LogEvent", 25, INVOKE_FUNC, 31, L"Writes an entry at the end of the application event log."},
    {L"SaveSetting", 26, INVOKE_FUNC, 32, L"Saves or creates an application entry in the Windows registry entry."},
    {L"StartService", 27, INVOKE_FUNC, 33, L"Connects the service to the services controller."},
    {L"StopService", 28, INVOKE_FUNC, 37, L"Stops a running service and notifies the services controller."},
    {L"Uninstall", 29, INVOKE_FUNC, 38, L"Uninstalls a service and removes it from the services controller database."},
    {L"AboutBox", -552, INVOKE_FUNC, 39, L"Display the About Box."},
    {L"StartTimer", 31, INVOKE_FUNC, 34, L"Starts a user defined timer event."},
    {L"StopTimer", 32, INVOKE_FUNC, 35, L"Stops a user defined timer event."},
};

const Member kEventMembers[] = {
    {L"Stop", 1, INVOKE_FUNC, 40, L"Occurs when the services controller notifies the service that the user or another program has requested the service to stop."},
    {L"Start", 0, INVOKE_FUNC, 42, L"Occurs when the services controller notifies the service that the user or another program has requested the service to start."},
    {L"Pause", 3, INVOKE_FUNC, 41, L"Occurs when the services controller notifies the service that the user or another program has requested the service to suspend processing."},
    {L"Continue", 4, INVOKE_FUNC, 43, L"Occurs when the services controller notifies the service that the user or another program has requested the service to continue processing."},
    {L"Control", 5, INVOKE_FUNC, 44, L"Occurs when the services controller notifies the service of shutdown or user defined events."},
    {L"Timer", 6, INVOKE_FUNC, 36, L"Occurs when a user defined timer event is due."},
};

// The type library the object describes itself with.
ComPtr<ITypeLib> TypeLibraryOfTheObject() {
  ComPtr<IOrtivo> ortivo = test::CreateOrtivo();
  ComPtr<ITypeInfo> info;
  ComPtr<ITypeLib> library;
  if (!ortivo || FAILED(ortivo->GetTypeInfo(0, 0, info.Receive()))) return library;
  UINT index = 0;
  info->GetContainingTypeLib(library.Receive(), &index);
  return library;
}

// Compares the functions of `info` (from `first` on) with `expected`, in order.
void ExpectMembers(ITypeInfo* info, UINT first, const Member* expected, size_t count) {
  const std::vector<test::FunctionInfo> functions = test::FunctionsOf(info);
  ASSERT_GE(functions.size(), first + count);
  for (size_t index = 0; index < count; ++index) {
    const Member& member = expected[index];
    SCOPED_TRACE(test::Narrow(member.name) + " " + std::to_string(member.kind));
    const test::FunctionInfo& function = functions[first + index];
    EXPECT_EQ(function.id, member.id);
    EXPECT_EQ(function.kind, member.kind);
    EXPECT_EQ(function.name, test::Narrow(member.name));
    EXPECT_EQ(function.helpContext, member.helpContext);
    if (member.helpString) {
      EXPECT_EQ(function.help, test::Narrow(member.helpString));
    }
  }
}

TEST(ServiceTypeLibraryTest, MembersIdentifiersAndHelp) {
  test::Apartment apartment;
  test::RegisterServiceComponent();
  ComPtr<ITypeLib> library = TypeLibraryOfTheObject();
  ASSERT_TRUE(library);
  BSTR name = nullptr;
  BSTR helpString = nullptr;
  BSTR helpFile = nullptr;
  ASSERT_EQ(library->GetDocumentation(-1, &name, &helpString, nullptr, &helpFile), S_OK);
  EXPECT_EQ(TakeString(name), L"QRNOrtivoLib");
  EXPECT_EQ(TakeString(helpString), L"QUARENT Ortivo Library 1.0");
  const std::wstring file = TakeString(helpFile);
  EXPECT_EQ(file.substr(file.find_last_of(L"\\/") + 1), L"QRNNTSrv.HLP");

  // The dual interface's own vtable part, after the seven IDispatch entries.
  ComPtr<ITypeInfo> dispatch;
  ASSERT_EQ(library->GetTypeInfoOfGuid(IID_IOrtivo, dispatch.Receive()), S_OK);
  HREFTYPE reference = 0;
  ASSERT_EQ(dispatch->GetRefTypeOfImplType(-1, &reference), S_OK);
  ComPtr<ITypeInfo> vtable;
  ASSERT_EQ(dispatch->GetRefTypeInfo(reference, vtable.Receive()), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(vtable->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->typekind, TKIND_INTERFACE);
  EXPECT_EQ(attributes->cFuncs, static_cast<WORD>(std::size(kOrtivoMembers)));
  vtable->ReleaseTypeAttr(attributes);
  ExpectMembers(vtable.Get(), 0, kOrtivoMembers, std::size(kOrtivoMembers));

  ComPtr<ITypeInfo> events;
  ASSERT_EQ(library->GetTypeInfoOfGuid(DIID__IOrtivoEvents, events.Receive()), S_OK);
  ExpectMembers(events.Get(), 0, kEventMembers, std::size(kEventMembers));
}

// "Name([in] BSTR Section, [in, optional] VARIANT Key, [out, retval] BSTR*)":
// flags, type and name of every parameter of `function` (results and
// property values carry no published name).
std::string Signature(const test::FunctionInfo& function) {
  std::string text = function.name + "(";
  for (const test::ParameterInfo& parameter : function.parameters) {
    const USHORT flags = parameter.flags;
    std::string attributes;
    const auto add = [&](const std::string& word) { attributes += (attributes.empty() ? "" : ", ") + word; };
    if (flags & PARAMFLAG_FIN) add("in");
    if (flags & PARAMFLAG_FOUT) add("out");
    if (flags & PARAMFLAG_FRETVAL) add("retval");
    if (flags & PARAMFLAG_FOPT) add("optional");
    if (parameter.hasDefault) add("defaultvalue(" + std::to_string(parameter.defaultValue) + ")");
    if (&parameter != &function.parameters.front()) text += ", ";
    text += "[" + attributes + "] " + parameter.type;
    const bool named = !(flags & PARAMFLAG_FRETVAL) && function.kind != INVOKE_PROPERTYPUT;
    if (named && !parameter.name.empty()) text += " " + parameter.name;
  }
  return text + ")";
}

TEST(ServiceTypeLibraryTest, ParameterNamesTypesAndOrder) {
  test::Apartment apartment;
  test::RegisterServiceComponent();
  ComPtr<ITypeLib> library = TypeLibraryOfTheObject();
  ASSERT_TRUE(library);
  // Written from the published interface: the vtable part of IOrtivo after
  // IDispatch, each property's get before its put.
  const wchar_t* const methods[] = {
      L"Account([out, retval] BSTR*)",
      L"Account([in] BSTR)",
      L"ControlsAccepted([out, retval] Constants_Controls*)",
      L"ControlsAccepted([in] Constants_Controls)",
      L"Debug([out, retval] VARIANT_BOOL*)",
      L"Debug([in] VARIANT_BOOL)",
      L"LoadOrderGroup([out, retval] BSTR*)",
      L"LoadOrderGroup([in] BSTR)",
      L"Dependencies([out, retval] BSTR*)",
      L"Dependencies([in] BSTR)",
      L"DisplayName([out, retval] BSTR*)",
      L"DisplayName([in] BSTR)",
      L"Interactive([out, retval] VARIANT_BOOL*)",
      L"Interactive([in] VARIANT_BOOL)",
      L"Password([out, retval] BSTR*)",
      L"Password([in] BSTR)",
      L"ServiceName([out, retval] BSTR*)",
      L"ServiceName([in] BSTR)",
      L"StartMode([out, retval] Constants_StartMode*)",
      L"StartMode([in] Constants_StartMode)",
      L"Running([out, retval] VARIANT_BOOL*)",
      L"CurrentStatus([out, retval] Constants_Status*)",
      L"DeleteSetting([in] BSTR Section, [in, optional] VARIANT Key)",
      L"GetAllSettings([in] BSTR Section, [out, retval] VARIANT*)",
      L"GetSetting([in] BSTR Section, [in] BSTR Key, [in, optional] VARIANT Default, [out, retval] BSTR*)",
      L"Install([out, retval] VARIANT_BOOL*)",
      L"LogEvent([in] Constants_Events Event, [in] Constants_Messages ID, [in] BSTR Message, "
      L"[out, retval] VARIANT_BOOL*)",
      L"SaveSetting([in] BSTR Section, [in] BSTR Key, [in] BSTR Value)",
      L"StartService([in, optional, defaultvalue(0)] VARIANT_BOOL CreateMessageLoop, [out, retval] VARIANT_BOOL*)",
      L"StopService()",
      L"Uninstall([out, retval] VARIANT_BOOL*)",
      L"AboutBox()",
      L"StartTimer([in] long IDEvent, [in] long Elapse)",
      L"StopTimer([in] long IDEvent)",
  };
  ComPtr<ITypeInfo> dispatch;
  ASSERT_EQ(library->GetTypeInfoOfGuid(IID_IOrtivo, dispatch.Receive()), S_OK);
  HREFTYPE reference = 0;
  ASSERT_EQ(dispatch->GetRefTypeOfImplType(-1, &reference), S_OK);
  ComPtr<ITypeInfo> vtable;
  ASSERT_EQ(dispatch->GetRefTypeInfo(reference, vtable.Receive()), S_OK);
  const std::vector<test::FunctionInfo> functions = test::FunctionsOf(vtable.Get());
  ASSERT_GE(functions.size(), std::size(methods));
  for (UINT index = 0; index < std::size(methods); ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(Signature(functions[index]), test::Narrow(methods[index]));
  }

  const wchar_t* const events[] = {
      L"Stop()",
      L"Start([in, out] VARIANT_BOOL* Success)",
      L"Pause([in, out] VARIANT_BOOL* Success)",
      L"Continue([in, out] VARIANT_BOOL* Success)",
      L"Control([in] long Event)",
      L"Timer([in] long IDEvent)",
  };
  ComPtr<ITypeInfo> eventInfo;
  ASSERT_EQ(library->GetTypeInfoOfGuid(DIID__IOrtivoEvents, eventInfo.Receive()), S_OK);
  TYPEATTR* attributes = nullptr;
  ASSERT_EQ(eventInfo->GetTypeAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->cFuncs, std::size(events)) << "no event with dispatch identifier 2";
  eventInfo->ReleaseTypeAttr(attributes);
  const std::vector<test::FunctionInfo> eventFunctions = test::FunctionsOf(eventInfo.Get());
  ASSERT_GE(eventFunctions.size(), std::size(events));
  for (UINT index = 0; index < std::size(events); ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(Signature(eventFunctions[index]), test::Narrow(events[index]));
  }
}

TEST(ServiceTypeLibraryTest, InterfacesAndClassAsPublished) {
  test::Apartment apartment;
  test::RegisterServiceComponent();
  ComPtr<ITypeLib> library = TypeLibraryOfTheObject();
  ASSERT_TRUE(library);
  struct Case {
    const GUID* id;
    const wchar_t* name;
    const wchar_t* helpString;
    TYPEKIND kind;
    WORD flags;  // that must be set
  };
  const Case cases[] = {
      {&IID_IOrtivo, L"IOrtivo", L"IOrtivo Interface", TKIND_DISPATCH, TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE},
      {&DIID__IOrtivoEvents, L"_IOrtivoEvents", L"_IOrtivoEvents Interface", TKIND_DISPATCH, TYPEFLAG_FDISPATCHABLE},
      {&CLSID_QRNOrtivo, L"QRNOrtivo", L"QUARENT Ortivo Object", TKIND_COCLASS, TYPEFLAG_FCANCREATE},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(test::Narrow(row.name));
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(library->GetTypeInfoOfGuid(*row.id, info.Receive()), S_OK);
    BSTR name = nullptr;
    BSTR helpString = nullptr;
    ASSERT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, &helpString, nullptr, nullptr), S_OK);
    EXPECT_EQ(TakeString(name), row.name);
    EXPECT_EQ(TakeString(helpString), row.helpString);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_EQ(attributes->typekind, row.kind);
    EXPECT_EQ(attributes->wTypeFlags & row.flags, row.flags);
    info->ReleaseTypeAttr(attributes);
  }

  // The class: IOrtivo by default, _IOrtivoEvents as its default source.
  ComPtr<ITypeInfo> coclass;
  ASSERT_EQ(library->GetTypeInfoOfGuid(CLSID_QRNOrtivo, coclass.Receive()), S_OK);
  struct Implemented {
    const GUID* id;
    INT flags;
  };
  const Implemented implemented[] = {
      {&IID_IOrtivo, IMPLTYPEFLAG_FDEFAULT},
      {&DIID__IOrtivoEvents, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE},
  };
  for (UINT index = 0; index < std::size(implemented); ++index) {
    SCOPED_TRACE(index);
    INT flags = 0;
    ASSERT_EQ(coclass->GetImplTypeFlags(index, &flags), S_OK);
    EXPECT_EQ(flags, implemented[index].flags);
    HREFTYPE reference = 0;
    ASSERT_EQ(coclass->GetRefTypeOfImplType(index, &reference), S_OK);
    ComPtr<ITypeInfo> info;
    ASSERT_EQ(coclass->GetRefTypeInfo(reference, info.Receive()), S_OK);
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attributes), S_OK);
    EXPECT_TRUE(IsEqualGUID(attributes->guid, *implemented[index].id));
    info->ReleaseTypeAttr(attributes);
  }
}

TEST(ServiceTypeLibraryTest, Enumerations) {
  test::Apartment apartment;
  test::RegisterServiceComponent();
  ComPtr<ITypeLib> library = TypeLibraryOfTheObject();
  ASSERT_TRUE(library);
  struct Enumeration {
    const wchar_t* name;
    const wchar_t* helpString;
    std::vector<std::pair<std::wstring, LONG>> constants;
  };
  const Enumeration expected[] = {
      {L"Constants_Controls", L"Controls Accepted Constants",
       {{L"qrnCtrlStartStop", 1}, {L"qrnCtrlPauseContinue", 2}, {L"qrnCtrlShutdown", 4}}},
      {L"Constants_StartMode", L"Service Start Mode Constants",
       {{L"qrnStartAutomatic", 2}, {L"qrnStartManual", 3}, {L"qrnStartDisabled", 4}}},
      {L"Constants_Status", L"Service Status Constants",
       {{L"qrnStatusNone", 0}, {L"qrnStatusStopped", 1}, {L"qrnStatusStartPending", 2},
        {L"qrnStatusStopPending", 3}, {L"qrnStatusRunning", 4}, {L"qrnStatusContinuePending", 5},
        {L"qrnStatusPausePending", 6}, {L"qrnStatusPaused", 7}}},
      {L"Constants_Events", L"Event Types Constants",
       {{L"qrnEventSuccess", 0}, {L"qrnEventError", 1}, {L"qrnEventWarning", 2}, {L"qrnEventInformation", 4},
        {L"qrnEventAuditSuccess", 8}, {L"qrnEventAuditFailure", 16}}},
      {L"Constants_Messages", L"Service Events Constants",
       {{L"qrnMessageDebug", 108}, {L"qrnMessageError", 109}, {L"qrnMessageInfo", 110}}},
  };
  for (const Enumeration& enumeration : expected) {
    SCOPED_TRACE(test::Narrow(enumeration.name));
    ComPtr<ITypeInfo> info = test::TypeNamed(library.Get(), TKIND_ENUM, test::Narrow(enumeration.name));
    ASSERT_TRUE(info);
    EXPECT_EQ(test::HelpStringOf(info.Get(), MEMBERID_NIL), test::Narrow(enumeration.helpString));
    const std::vector<test::ConstantInfo> constants = test::ConstantsOf(info.Get());
    ASSERT_EQ(constants.size(), enumeration.constants.size());
    for (UINT index = 0; index < enumeration.constants.size(); ++index) {
      EXPECT_EQ(constants[index].name, test::Narrow(enumeration.constants[index].first));
      EXPECT_EQ(constants[index].value, enumeration.constants[index].second);
    }
  }
}

TEST(ServiceRegistrationTest, RegistryEntriesAndTheirRemoval) {
  test::Apartment apartment;
  test::RegisterServiceComponent();
  const std::wstring classKey = L"CLSID\\{3F58A7EE-9C24-4D0B-8E61-52B7D9A0C3F4}";
  const std::wstring modulePath =
      test::ReadRegistryString(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32").value_or(L"");
  test::ExpectRegistered(quarent::RegistrationOfQRNNTSrv(), modulePath);
  // What a user reads, written out by hand.
  EXPECT_EQ(test::ReadRegistryString(HKEY_CLASSES_ROOT, L"QUARENT.QRNOrtivo\\CurVer").value_or(L"(missing)"),
            L"QUARENT.QRNOrtivo.1");
  EXPECT_EQ(test::ReadRegistryString(HKEY_CLASSES_ROOT, classKey).value_or(L"(missing)"), L"QUARENT Ortivo Object");
  EXPECT_EQ(test::ReadRegistryString(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32", L"ThreadingModel")
                .value_or(L"(missing)"),
            L"Apartment");
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_CLASSES_ROOT, classKey + L"\\Programmable"));
  // The type library carries its identifier and is registered under it.
  {
    ComPtr<ITypeLib> library = TypeLibraryOfTheObject();
    ASSERT_TRUE(library);
    TLIBATTR* attributes = nullptr;
    ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
    wchar_t libraryId[64];
    StringFromGUID2(attributes->guid, libraryId, 64);
    EXPECT_STREQ(L"{3F58A7E1-9C24-4D0B-8E61-52B7D9A0C3F4}", libraryId);
    EXPECT_EQ(attributes->wMajorVerNum, 1);
    EXPECT_EQ(attributes->wMinorVerNum, 0);
    EXPECT_EQ(attributes->lcid, 0x409u);
    library->ReleaseTLibAttr(attributes);
    EXPECT_TRUE(test::RegistryKeyExists(HKEY_CLASSES_ROOT, std::wstring(L"TypeLib\\") + libraryId + L"\\1.0\\409\\" + test::kTypeLibPlatform));
  }
  const std::wstring server = test::ReadRegistryString(HKEY_CLASSES_ROOT, classKey + L"\\InprocServer32").value_or(L"");
  EXPECT_EQ(server.substr(server.find_last_of(L"\\/") + 1), L"QRNNTSrv.dll");

  ASSERT_EQ(test::RegisterServer(L"QRNNTSrv.dll", true), 0);
  test::ExpectUnregistered(quarent::RegistrationOfQRNNTSrv(), modulePath);
  EXPECT_FALSE(test::RegistryKeyExists(HKEY_CLASSES_ROOT, classKey));
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_CLASSES_ROOT, L"CLSID"));
  ASSERT_EQ(test::RegisterServer(L"QRNNTSrv.dll"), 0);
}

TEST_F(ServiceObjectTest, LateBoundCallsAndTheirErrors) {
  ComPtr<IDispatch> dispatch = ortivo.As<IDispatch>();
  test::DispatchResult put;
  test::CallByName(dispatch.Get(), L"ServiceName", DISPATCH_PROPERTYPUT, {test::StringArgument(L"Late")}, put);
  EXPECT_EQ(put.status, S_OK);
  test::DispatchResult get;
  test::CallByName(dispatch.Get(), L"ServiceName", DISPATCH_PROPERTYGET, {}, get);
  ASSERT_EQ(get.status, S_OK);
  ASSERT_EQ(get.value.vt, VT_BSTR);
  EXPECT_STREQ(get.value.bstrVal, L"Late");

  test::DispatchResult timer;
  test::CallByName(dispatch.Get(), L"StartTimer", DISPATCH_METHOD, {test::LongArgument(0), test::LongArgument(100)},
                   timer);
  EXPECT_EQ(Hex(timer.status), Hex(DISP_E_EXCEPTION));
  EXPECT_EQ(Hex(timer.exception.scode), Hex(E_INVALIDARG));
  ASSERT_NE(timer.exception.bstrDescription, nullptr);
  EXPECT_STREQ(timer.exception.bstrDescription, L"The IDEvent must be between 0x00000001 and 0x7FFFFFFF.");
}

}  // namespace
