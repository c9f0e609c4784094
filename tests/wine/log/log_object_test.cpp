// The Log class as a client sees it: registration, creation by ProgID, the
// members that need a window, and the dual interface's dispatch side.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "event_recorder.h"
#include "log_fixture.h"
#include "brnlog_registration.h"
#include "processes.h"
#include "registration_check.h"
#include "registry_reader.h"

namespace logtest {
namespace {

const wchar_t kClassKey[] = L"CLSID\\{6E21C410-3D8A-4F51-A7B2-1C9E5D0F2A84}";

TEST(RegistrationTest, WritesTheClassAndProgIdEntries) {
  ASSERT_TRUE(RegisterBrnLog());
  const std::wstring classKey = kClassKey;
  const std::wstring modulePath = test::BesideProgram(L"BrnLog.dll");
  test::ExpectRegistered(quarent::RegistrationOfBrnLog(), modulePath);
  // What a user reads, written out by hand.
  EXPECT_EQ(test::ReadRegistryString(HKEY_CLASSES_ROOT, L"BrnLog.Log\\CLSID").value_or(L"<missing>"),
            L"{6E21C410-3D8A-4F51-A7B2-1C9E5D0F2A84}");
  EXPECT_EQ(test::ReadRegistryString(HKEY_CLASSES_ROOT, classKey + L"\\ProgID").value_or(L"<missing>"), L"BrnLog.Log.1");
  EXPECT_EQ(test::ReadRegistryString(HKEY_CLASSES_ROOT, classKey + L"\\TypeLib").value_or(L"<missing>"),
            L"{6E21C403-3D8A-4F51-A7B2-1C9E5D0F2A84}");
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_CLASSES_ROOT, L"TypeLib\\{6E21C403-3D8A-4F51-A7B2-1C9E5D0F2A84}\\1.1"));

  ASSERT_EQ(test::RegisterServer(L"BrnLog.dll", true), 0);
  test::ExpectUnregistered(quarent::RegistrationOfBrnLog(), modulePath);
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_CLASSES_ROOT, L"CLSID"));
  ASSERT_EQ(test::RegisterServer(L"BrnLog.dll"), 0);
}

using LogObjectTest = LogTest;

TEST_F(LogObjectTest, AnswersItsInterfacesOnly) {
  struct Case {
    const char* name;
    IID iid;
    bool answered;
  };
  const Case cases[] = {
      {"IDispatch", IID_IDispatch, true},
      {"IConnectionPointContainer", IID_IConnectionPointContainer, true},
      {"ISupportErrorInfo", IID_ISupportErrorInfo, false},
      {"IPersistStreamInit", IID_IPersistStreamInit, false},
      {"IProvideClassInfo", IID_IProvideClassInfo, true},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.name);
    IUnknown* answer = nullptr;
    const HRESULT status = log_->QueryInterface(row.iid, reinterpret_cast<void**>(&answer));
    EXPECT_EQ(SUCCEEDED(status), row.answered) << test::Hex(status);
    if (answer) answer->Release();
  }
}

TEST_F(LogObjectTest, MembersThatNeedAWindowDoNothingWithoutOne) {
  short isWindow = -7;
  EXPECT_EQ(log_->IsLogWindow(&isWindow), S_OK);
  EXPECT_EQ(isWindow, 0);
  EXPECT_EQ(Log("dropped", 1), S_OK);
  EXPECT_EQ(LogIn("dropped", "Disk", 2), S_OK);
  EXPECT_EQ(LogValue("dropped", I4(5), "Temp", 3), S_OK);
  EXPECT_EQ(log_->CategoryEnable(Text("Net"), 0), S_OK);
  EXPECT_EQ(log_->LevelEnable(4, 0), S_OK);
  EXPECT_EQ(log_->CategoryLimits(Text("Temp"), I4(1), brnGreater, I4(9), brnLess), S_OK);
  EXPECT_EQ(log_->ClearLogWindow(), S_OK);
  EXPECT_EQ(log_->LogCaption(Text("caption")), S_OK);
  EXPECT_EQ(log_->LogShowWindow(brnHide), S_OK);
  EXPECT_EQ(log_->SetColumnHeaderText(brnValueCol, Text("x")), S_OK);
  EXPECT_EQ(log_->RemoveLogWindow(), S_OK);
  LONG untouched = 77;
  EXPECT_EQ(log_->LevelIsEnabled(4, &untouched), S_OK);
  EXPECT_EQ(untouched, 77);
  EXPECT_EQ(log_->CategoryIsEnabled(Text("Net"), &untouched), S_OK);
  EXPECT_EQ(untouched, 77);

  // None of that created a category, a level or a stored message.
  OpenWindow();
  EXPECT_EQ(FilterMenuTexts(window_), (std::vector<std::string>{"&Refresh", "-", "Enable All", "Disable All", "-"}));
  Command(window_, kRefresh);
  EXPECT_TRUE(ReadRows(list_).empty());
}

TEST_F(LogObjectTest, CreateLogWindowTwiceLeavesOneWindow) {
  OpenWindow();
  short number = -1;
  EXPECT_EQ(log_->CreateLogWindow(&number), S_OK);
  EXPECT_EQ(number, 0);
  EXPECT_EQ(LogWindowsOfThread(false).size(), 1u);
  short isWindow = 0;
  log_->IsLogWindow(&isWindow);
  EXPECT_EQ(isWindow, 1);  // 1, not the automation true (-1)
}

// True while `module` has its log window class registered.
bool LogWindowClassRegistered(HMODULE module) {
  WNDCLASSEXA found = {};
  found.cbSize = sizeof found;
  return GetClassInfoExA(module, "BrnLogWindow", &found) != FALSE;
}

// Opens the log window of `log` and returns it (the one not in `others`).
HWND OpenLogWindow(ILog* log, HWND other) {
  short number = -1;
  log->CreateLogWindow(&number);
  for (HWND window : LogWindowsOfThread(true)) {
    if (window != other) return window;
  }
  return nullptr;
}

TEST_F(LogObjectTest, TheWindowClassGoesWithTheLastWindow) {
  const HMODULE module = GetModuleHandleA("BrnLog.dll");
  ASSERT_NE(module, nullptr);
  struct Case {
    const char* note;
    // Ends the window of `log`; true when that released the object too.
    std::function<bool(ILog* log, HWND window)> close;
  };
  const Case cases[] = {
      {"RemoveLogWindow", [](ILog* log, HWND) { return log->RemoveLogWindow(), false; }},
      {"Exit command", [](ILog*, HWND window) { return Command(window, kExit), false; }},
      {"closed by the user", [](ILog*, HWND window) { return SendMessageA(window, WM_CLOSE, 0, 0), false; }},
      {"object released", [](ILog* log, HWND) { return log->Release(), true; }},
      {"removed by a Click sink while the window handles the click",
       [](ILog* log, HWND window) {
         log->LogMessage(Text("click me"), 0);
         auto* sink = new test::EventRecorder(DIID__ILogEvents);
         test::Connection connection(log, DIID__ILogEvents, sink);
         sink->hook = [log](DISPID, DISPPARAMS*) { log->RemoveLogWindow(); };
         ClickRow(ListViewOf(window), false);
         PumpMessages();
         sink->Release();
         return false;
       }},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    ILog* logs[2] = {CreateLog(), CreateLog()};
    ASSERT_TRUE(logs[0] && logs[1]);
    const HWND first = OpenLogWindow(logs[0], nullptr);
    const HWND second = OpenLogWindow(logs[1], first);
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(LogWindowClassRegistered(module));
    const bool firstReleased = row.close(logs[0], first);
    PumpMessages();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(LogWindowClassRegistered(module)) << "the second window still uses it";
    const bool secondReleased = row.close(logs[1], second);
    PumpMessages();
    EXPECT_FALSE(IsWindow(second));
    EXPECT_FALSE(LogWindowClassRegistered(module));
    if (!firstReleased) logs[0]->Release();
    if (!secondReleased) logs[1]->Release();
  }

  // Unloaded, the module leaves no class behind that would lead into it.
  log_->Release();
  log_ = nullptr;
  CoFreeUnusedLibrariesEx(0, 0);
  ASSERT_EQ(GetModuleHandleA("BrnLog.dll"), nullptr) << "the module was unloaded";
  EXPECT_FALSE(LogWindowClassRegistered(module));
  EXPECT_EQ(CreateWindowExA(0, "BrnLogWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, module, nullptr),
            nullptr);
}

TEST_F(LogObjectTest, NewWindowKeepsTheStoreAndTables) {
  OpenWindow();
  LogIn("first", "Disk", 1);
  LogIn("second", "Net", 2);
  log_->CategoryEnable(Text("Net"), 0);
  ASSERT_EQ(log_->RemoveLogWindow(), S_OK);
  short isWindow = -1;
  log_->IsLogWindow(&isWindow);
  EXPECT_EQ(isWindow, 0);
  EXPECT_FALSE(IsWindow(window_));

  OpenWindow();
  log_->IsLogWindow(&isWindow);
  EXPECT_EQ(isWindow, 1);
  EXPECT_TRUE(ReadRows(list_).empty());
  // The new window's Filter menu only lists what is new to the object.
  EXPECT_EQ(FilterMenuTexts(window_).size(), 5u);
  LONG enabled = -1;
  log_->CategoryIsEnabled(Text("Net"), &enabled);
  EXPECT_EQ(enabled, 0);
  Command(window_, kRefresh);
  EXPECT_EQ(MessageColumn(list_), (std::vector<std::string>{"first"}));
  // The category item is appended; the level's place, worked out among the
  // levels of the first window (after levels 1 and 2: position 7), lies past
  // the end of the new menu, so it is appended too, without a separator.
  LogIn("third", "Fresh", 3);
  const std::vector<std::string> menu = FilterMenuTexts(window_);
  EXPECT_EQ(std::vector<std::string>(menu.begin() + 5, menu.end()), (std::vector<std::string>{"Fresh", "Level 3"}));
}

TEST_F(LogObjectTest, MessageImageSelectsTheFirstRowsImage) {
  OpenWindow();
  brnImageIndex image = brnDownRtArrow;
  EXPECT_EQ(log_->get_MessageImage(&image), S_OK);
  EXPECT_EQ(image, brnNoImage);
  EXPECT_EQ(log_->put_MessageImage(brnExclam), S_OK);
  log_->get_MessageImage(&image);
  EXPECT_EQ(image, brnExclam);
  Log("exclamation");
  EXPECT_EQ(log_->put_MessageImage(brnNoImage), S_OK);
  Log("plain");
  // Out of range: stored, no image to read back.
  EXPECT_EQ(log_->put_MessageImage(static_cast<brnImageIndex>(100)), S_OK);
  image = brnCircleX;
  log_->get_MessageImage(&image);
  EXPECT_EQ(image, brnCircleX);

  const std::vector<Row> rows = ReadRows(list_);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].image, 2);
  EXPECT_EQ(rows[1].image, -1);

  // Refresh keeps the image each message had.
  Command(window_, 32775);
  const std::vector<Row> refreshed = ReadRows(list_);
  ASSERT_EQ(refreshed.size(), 2u);
  EXPECT_EQ(refreshed[0].image, 2);
  EXPECT_EQ(refreshed[1].image, -1);
}

TEST_F(LogObjectTest, LevelAndCategoryQueriesFindOrAdd) {
  OpenWindow();
  LONG enabled = -1;
  EXPECT_EQ(log_->CategoryIsEnabled(Text("Brand New"), &enabled), S_OK);
  EXPECT_EQ(enabled, 1);
  EXPECT_EQ(FilterMenuTexts(window_).back(), "Brand New");
  EXPECT_TRUE(IsItemChecked(window_, 30000));

  EXPECT_EQ(log_->LevelEnable(-5, 0), S_OK);  // level 0
  log_->LevelIsEnabled(0, &enabled);
  EXPECT_EQ(enabled, 0);
  log_->LevelIsEnabled(256, &enabled);  // level 0 again
  EXPECT_EQ(enabled, 0);
  EXPECT_FALSE(IsItemChecked(window_, 29000));
  log_->LevelEnable(0, 12345);
  log_->LevelIsEnabled(0, &enabled);
  EXPECT_EQ(enabled, 1);

  log_->CategoryEnable(nullptr, 0);
  log_->CategoryIsEnabled(nullptr, &enabled);
  EXPECT_EQ(enabled, 0);
  log_->CategoryIsEnabled(Text(L"(No Category)"), &enabled);
  EXPECT_EQ(enabled, 0);
  Log("no category");
  EXPECT_TRUE(ReadRows(list_).empty());
}

TEST_F(LogObjectTest, ContextMenuEnabledStoresAnyValue) {
  LONG value = 0;
  EXPECT_EQ(log_->get_ContextMenuEnabled(&value), S_OK);
  EXPECT_EQ(value, 1);
  EXPECT_EQ(log_->put_ContextMenuEnabled(-9), S_OK);
  log_->get_ContextMenuEnabled(&value);
  EXPECT_EQ(value, -9);
}

TEST_F(LogObjectTest, DispatchReachesEveryMemberByName) {
  IDispatch* dispatch = nullptr;
  ASSERT_EQ(log_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
  struct Name {
    const wchar_t* name;
    DISPID id;
  };
  const Name names[] = {
      {L"CreateLogWindow", 1},      {L"ClearLogWindow", 2},     {L"LogMessage", 3},
      {L"LogCaption", 5},           {L"LogShowWindow", 6},      {L"LogMessageCategory", 7},
      {L"RemoveLogWindow", 8},      {L"IsLogWindow", 9},        {L"LogMessageValue", 10},
      {L"CategoryLimits", 11},      {L"CategoryEnable", 12},    {L"CategoryIsEnabled", 13},
      {L"LevelEnable", 14},         {L"LevelIsEnabled", 15},    {L"MessageImage", 16},
      {L"SetColumnHeaderText", 17}, {L"ContextMenuEnabled", 18},
  };
  for (const Name& entry : names) {
    SCOPED_TRACE(test::Narrow(entry.name));
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(entry.name);
    EXPECT_EQ(dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id), S_OK);
    EXPECT_EQ(id, entry.id);
  }

  test::DispatchResult result;
  test::CallByName(dispatch, L"IsLogWindow", DISPATCH_METHOD, {}, result);
  EXPECT_EQ(result.status, S_OK);
  EXPECT_EQ(V_VT(&result.value), VT_I2);
  EXPECT_EQ(V_I2(&result.value), 0);
  test::CallByName(dispatch, L"CreateLogWindow", DISPATCH_METHOD, {}, result);
  EXPECT_EQ(result.status, S_OK);
  test::CallByName(dispatch, L"LogMessageValue", DISPATCH_METHOD,
                   {test::StringArgument(L"late bound"), test::LongArgument(42), test::StringArgument(L"Disp"),
                    test::LongArgument(2)},
                   result);
  EXPECT_EQ(result.status, S_OK);
  // A script passes its variables by reference; the value is read through the reference.
  VARIANT variable;
  VariantInit(&variable);
  V_VT(&variable) = VT_I2;
  V_I2(&variable) = 99;
  VARIANT byReference;
  VariantInit(&byReference);
  V_VT(&byReference) = VT_VARIANT | VT_BYREF;
  V_VARIANTREF(&byReference) = &variable;
  test::CallByName(dispatch, L"LogMessageValue", DISPATCH_METHOD,
                   {test::StringArgument(L"variable"), byReference, test::StringArgument(L"Disp"),
                    test::LongArgument(0)},
                   result);
  EXPECT_EQ(result.status, S_OK);
  test::CallByName(dispatch, L"MessageImage", DISPATCH_PROPERTYPUT, {test::LongArgument(4)}, result);
  EXPECT_EQ(result.status, S_OK);
  test::CallByName(dispatch, L"MessageImage", DISPATCH_PROPERTYGET, {}, result);
  EXPECT_EQ(V_I4(&result.value), 4);
  test::CallByName(dispatch, L"CategoryIsEnabled", DISPATCH_METHOD, {test::StringArgument(L"Disp")}, result);
  EXPECT_EQ(V_VT(&result.value), VT_I4);
  EXPECT_EQ(V_I4(&result.value), 1);
  dispatch->Release();

  window_ = FindLogWindow();
  ASSERT_NE(window_, nullptr);
  const std::vector<Row> rows = ReadRows(ListViewOf(window_));
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].message, "late bound");
  EXPECT_EQ(rows[0].value, "42");
  EXPECT_EQ(rows[0].category, "Disp");
  EXPECT_EQ(rows[0].indent, 2);
  EXPECT_EQ(rows[1].message, "variable");
  EXPECT_EQ(rows[1].value, "99");
}

TEST_F(LogObjectTest, TypeLibraryDescribesTheClass) {
  ITypeLib* library = nullptr;
  ASSERT_EQ(LoadRegTypeLib(LIBID_BRNLOGLib, 1, 1, 0x409, &library), S_OK);
  TLIBATTR* attributes = nullptr;
  ASSERT_EQ(library->GetLibAttr(&attributes), S_OK);
  EXPECT_EQ(attributes->wMajorVerNum, 1);
  EXPECT_EQ(attributes->wMinorVerNum, 1);
  EXPECT_EQ(attributes->lcid, 0x409u);
  library->ReleaseTLibAttr(attributes);

  struct Help {
    const GUID* guid;
    const wchar_t* text;
  };
  const Help helps[] = {
      {&CLSID_Log, L"Brindle Log Control"},
      {&IID_ILog, L"BrnLog Interface"},
      {&DIID__ILogEvents, L"Brindle Log Events Interface"},
  };
  for (const Help& help : helps) {
    SCOPED_TRACE(test::Narrow(help.text));
    ITypeInfo* info = nullptr;
    ASSERT_EQ(library->GetTypeInfoOfGuid(*help.guid, &info), S_OK);
    BSTR doc = nullptr;
    EXPECT_EQ(info->GetDocumentation(MEMBERID_NIL, nullptr, &doc, nullptr, nullptr), S_OK);
    EXPECT_EQ(std::wstring(doc ? doc : L""), help.text);
    SysFreeString(doc);
    info->Release();
  }

  ITypeInfo* events = nullptr;
  ASSERT_EQ(library->GetTypeInfoOfGuid(DIID__ILogEvents, &events), S_OK);
  BSTR name = nullptr;
  EXPECT_EQ(events->GetDocumentation(-600, &name, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(std::wstring(name ? name : L""), L"Click");
  SysFreeString(name);
  events->Release();
  library->Release();
}

}  // namespace
}  // namespace logtest
