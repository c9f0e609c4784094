// The log window as a user and a client see it: its frame, columns and
// images, the rows of logged messages, the Filter menu, the commands sent as
// WM_COMMAND, and the Click events of list clicks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event_recorder.h"
#include "log_fixture.h"

namespace logtest {
namespace {

using Texts = std::vector<std::string>;

std::string ColumnTitle(HWND list, int column, int* width) {
  char title[512] = {};
  LVCOLUMNA header = {};
  header.mask = LVCF_TEXT | LVCF_WIDTH;
  header.pszText = title;
  header.cchTextMax = sizeof title;
  SendMessageA(list, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
  if (width) *width = header.cx;
  return title;
}

using LogWindowTest = LogTest;

TEST_F(LogWindowTest, OpensWithItsFrameMenusColumnsAndImages) {
  OpenWindow();
  char caption[64] = {};
  GetWindowTextA(window_, caption, sizeof caption);
  EXPECT_STREQ(caption, "Log");
  RECT frame = {};
  GetWindowRect(window_, &frame);
  EXPECT_EQ(frame.right - frame.left, 300);
  EXPECT_EQ(frame.bottom - frame.top, 300);
  const LONG_PTR style = GetWindowLongPtrA(window_, GWL_STYLE);
  EXPECT_EQ(style & 0x16CF0000, 0x16CF0000) << std::hex << style;
  EXPECT_EQ(GetWindowLongPtrA(window_, GWL_EXSTYLE) & 0x00040100, 0x00040100);
  EXPECT_NE(GetClassLongPtrA(window_, GCLP_HICON), 0);
  EXPECT_EQ(GetDlgCtrlID(list_), 0);
  EXPECT_EQ(GetWindowLongPtrA(list_, GWL_STYLE) & 0x50800001, 0x50800001);

  HMENU bar = GetMenu(window_);
  Texts menus;
  for (int position = 0; position < GetMenuItemCount(bar); ++position) {
    char text[32] = {};
    GetMenuStringA(bar, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    menus.push_back(text);
  }
  EXPECT_EQ(menus, (Texts{"&File", "&Edit", "Fi&lter", "&Options", "&Help"}));

  const Texts titles = {"Message", "Value", "Category"};
  const int widths[] = {250, 80, 80};
  for (int column = 0; column < 3; ++column) {
    SCOPED_TRACE(column);
    int width = 0;
    EXPECT_EQ(ColumnTitle(list_, column, &width), titles[static_cast<size_t>(column)]);
    EXPECT_EQ(width, widths[column]);
  }
  struct ImageListCase {
    int which;
    int size;
  };
  for (const ImageListCase& images : {ImageListCase{LVSIL_SMALL, 16}, ImageListCase{LVSIL_NORMAL, 32}}) {
    auto list = reinterpret_cast<HIMAGELIST>(SendMessageA(list_, LVM_GETIMAGELIST, images.which, 0));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 5);
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(list, &width, &height);
    EXPECT_EQ(width, images.size);
    EXPECT_EQ(height, images.size);
  }
}

TEST_F(LogWindowTest, MessagesBecomeRowsOfEightyBytes) {
  OpenWindow();
  const std::string a80(80, 'a');
  const std::string b80(80, 'b');
  const std::string c40(40, 'c');
  log_->put_MessageImage(brnCircleX);
  EXPECT_EQ(LogValue((a80 + b80 + c40).c_str(), R8(1.5), "Disk", 3), S_OK);
  log_->put_MessageImage(brnNoImage);
  EXPECT_EQ(Log(a80.c_str(), 1), S_OK);
  EXPECT_EQ(log_->LogMessage(nullptr, 0), S_OK);
  EXPECT_EQ(log_->LogMessageCategory(Text(""), Text(""), -4), S_OK);
  // Level 259 is filtered as level 3 but indented as logged, also by Refresh.
  EXPECT_EQ(Log("high", 259), S_OK);

  const std::vector<Row> rows = ReadRows(list_);
  ASSERT_EQ(rows.size(), 8u);
  struct Expected {
    std::string message;
    std::string value;
    std::string category;
    int image;
    int indent;
  };
  const Expected expected[] = {
      {a80, "1.500000", "Disk", 1, 3},
      {"    " + b80, "", "", -1, 3},
      {"    " + c40, "", "", -1, 3},
      {a80, "", "(No Category)", -1, 1},
      {"    ", "", "", -1, 1},
      {"(Null Message)", "", "(No Category)", -1, 0},
      {"", "", "", -1, 0},
      {"high", "", "(No Category)", -1, 259},
  };
  for (size_t index = 0; index < rows.size(); ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(rows[index].message, expected[index].message);
    EXPECT_EQ(rows[index].value, expected[index].value);
    EXPECT_EQ(rows[index].category, expected[index].category);
    EXPECT_EQ(rows[index].image, expected[index].image);
    EXPECT_EQ(rows[index].indent, expected[index].indent);
  }

  // Refresh builds the same rows from the store.
  Command(window_, kRefresh);
  const std::vector<Row> refreshed = ReadRows(list_);
  ASSERT_EQ(refreshed.size(), rows.size());
  for (size_t index = 0; index < rows.size(); ++index) {
    SCOPED_TRACE(index);
    EXPECT_EQ(refreshed[index].message, rows[index].message);
    EXPECT_EQ(refreshed[index].value, rows[index].value);
    EXPECT_EQ(refreshed[index].category, rows[index].category);
    EXPECT_EQ(refreshed[index].image, rows[index].image);
    EXPECT_EQ(refreshed[index].indent, rows[index].indent);
  }
}

TEST_F(LogWindowTest, ValueColumnShowsEachType) {
  OpenWindow();
  LONG pointee = 7;
  VARIANT byReference;
  VariantInit(&byReference);
  V_VT(&byReference) = VT_I4 | VT_BYREF;
  V_I4REF(&byReference) = &pointee;

  VARIANT values[10];
  for (VARIANT& value : values) VariantInit(&value);
  V_VT(&values[0]) = VT_R8, V_R8(&values[0]) = 1.5;
  V_VT(&values[1]) = VT_BOOL, V_BOOL(&values[1]) = VARIANT_TRUE;
  V_VT(&values[2]) = VT_UI4, V_UI4(&values[2]) = 0xFFFFFFFF;
  V_VT(&values[3]) = VT_CY, V_CY(&values[3]).int64 = -123450;
  V_VT(&values[4]) = VT_DATE, V_DATE(&values[4]) = 36526.5;  // 1 January 2000, noon
  V_VT(&values[5]) = VT_BSTR, V_BSTR(&values[5]) = nullptr;
  V_VT(&values[6]) = VT_I1, V_I1(&values[6]) = -5;
  V_VT(&values[7]) = VT_R4, V_R4(&values[7]) = 0.25f;
  values[8] = byReference;
  V_VT(&values[9]) = VT_ERROR, V_ERROR(&values[9]) = DISP_E_PARAMNOTFOUND;  // an omitted argument
  for (const VARIANT& value : values) log_->LogMessageValue(Text("v"), value, Text("Types"), 0);
  Log("no value");

  BSTR platformDate = nullptr;
  ASSERT_EQ(VarBstrFromDate(36526.5, LOCALE_USER_DEFAULT, 0, &platformDate), S_OK);
  char dateText[64] = {};
  WideCharToMultiByte(CP_ACP, 0, platformDate, -1, dateText, sizeof dateText, nullptr, nullptr);
  SysFreeString(platformDate);

  Texts shown;
  for (const Row& row : ReadRows(list_)) shown.push_back(row.value);
  EXPECT_EQ(shown, (Texts{"1.500000", "-1", "4294967295", "-12.3450", dateText, " ", "-5", "0.250000", "7", "", ""}));
  EXPECT_NE(std::string(dateText).find("2000"), std::string::npos) << dateText;
}

TEST_F(LogWindowTest, CaptionShowCommandAndColumnTitles) {
  OpenWindow();
  log_->LogCaption(Text("Build log"));
  char caption[64] = {};
  GetWindowTextA(window_, caption, sizeof caption);
  EXPECT_STREQ(caption, "Build log");
  log_->LogCaption(nullptr);
  GetWindowTextA(window_, caption, sizeof caption);
  EXPECT_STREQ(caption, "");

  log_->SetColumnHeaderText(brnMessageCol, Text("Text"));
  log_->SetColumnHeaderText(brnValueCol, Text("Amount"));
  EXPECT_EQ(ColumnTitle(list_, 0, nullptr), "Text");
  EXPECT_EQ(ColumnTitle(list_, 1, nullptr), "Amount");
  log_->SetColumnHeaderText(brnValueCol, nullptr);
  EXPECT_EQ(ColumnTitle(list_, 1, nullptr), "Value");
  log_->SetColumnHeaderText(brnCategoryCol, Text(std::string(300, 't')));
  EXPECT_EQ(ColumnTitle(list_, 2, nullptr), std::string(259, 't'));

  log_->LogShowWindow(brnMinimize);
  EXPECT_TRUE(IsIconic(window_));
  log_->LogShowWindow(brnRestore);
  EXPECT_FALSE(IsIconic(window_));
  log_->LogShowWindow(brnHide);
  EXPECT_FALSE(IsWindowVisible(window_));
}

TEST_F(LogWindowTest, FilterItemsFollowLevelsAndCategories) {
  OpenWindow();
  LogIn("five", "Disk", 5);
  LogIn("two", "Net", 2);
  LogIn("seven", "Disk", 7);
  LogIn("three", "disk", 3);
  EXPECT_EQ(FilterMenuTexts(window_), (Texts{"&Refresh", "-", "Enable All", "Disable All", "-", "Level 2", "Level 3",
                                             "Level 5", "Level 7", "-", "Disk", "Net", "disk"}));
  for (UINT id : {29000u, 29001u, 29002u, 29003u, 30000u, 30001u, 30002u}) EXPECT_TRUE(IsItemChecked(window_, id)) << id;

  // A click on Disk's item turns it off; messages of Disk are dropped from now on.
  Command(window_, 30000);
  EXPECT_FALSE(IsItemChecked(window_, 30000));
  LONG enabled = -1;
  log_->CategoryIsEnabled(Text("Disk"), &enabled);
  EXPECT_EQ(enabled, 0);
  LogIn("dropped", "Disk", 5);
  LogIn("kept", "disk", 5);
  Command(window_, 30000);
  EXPECT_TRUE(IsItemChecked(window_, 30000));
  // Level 7's item off, then a message of level 263 (also level 7).
  Command(window_, 29002);
  LogIn("dropped too", "Net", 263);
  EXPECT_EQ(MessageColumn(list_), (Texts{"five", "two", "seven", "three", "kept"}));

  Command(window_, kDisableAll);
  for (UINT id : {29000u, 29001u, 29002u, 29003u, 30000u, 30001u, 30002u}) EXPECT_FALSE(IsItemChecked(window_, id)) << id;
  log_->LevelIsEnabled(2, &enabled);
  EXPECT_EQ(enabled, 0);
  Command(window_, kRefresh);
  EXPECT_TRUE(ReadRows(list_).empty());
  Command(window_, kEnableAll);
  for (UINT id : {29000u, 29001u, 29002u, 29003u, 30000u, 30001u, 30002u}) EXPECT_TRUE(IsItemChecked(window_, id)) << id;
  Command(window_, kRefresh);
  EXPECT_EQ(MessageColumn(list_), (Texts{"five", "two", "seven", "three", "kept"}));
}

TEST_F(LogWindowTest, RefreshShowsWhatPassesNowAndClearEmptiesTheStore) {
  OpenWindow();
  LogValue("cold", I4(5), "Temp", 1);
  LogValue("warm", I4(15), "Temp", 1);
  LogValue("hot", I4(25), "Temp", 1);
  LogIn("note", "Other", 2);
  ASSERT_EQ(log_->CategoryLimits(Text("Temp"), I4(10), brnGreaterEqual, I4(20), brnLess), S_OK);
  // Rows already listed stay until Refresh.
  EXPECT_EQ(ReadRows(list_).size(), 4u);
  LogValue("mild", I4(12), "Temp", 1);
  LogValue("boiling", I4(99), "Temp", 1);
  LogValue("short", I2(12), "Temp", 1);  // type differs from the limits'
  Command(window_, kRefresh);
  EXPECT_EQ(MessageColumn(list_), (Texts{"warm", "note", "mild"}));

  log_->LevelEnable(2, 0);
  Command(window_, kRefresh);
  EXPECT_EQ(MessageColumn(list_), (Texts{"warm", "mild"}));

  Command(window_, kClear);
  EXPECT_TRUE(ReadRows(list_).empty());
  log_->LevelEnable(2, 1);
  Command(window_, kRefresh);
  EXPECT_TRUE(ReadRows(list_).empty());
  LogIn("after clear", "Other", 0);
  ASSERT_EQ(log_->ClearLogWindow(), S_OK);
  Command(window_, kRefresh);
  EXPECT_TRUE(ReadRows(list_).empty());
}

TEST_F(LogWindowTest, CopyPutsTheListedTextOnTheClipboard) {
  OpenWindow();
  const std::string a80(80, 'a');
  Log("top", 0);
  LogValue("deep", I4(42), "Cat", 2);
  Log((a80 + "tail").c_str(), 1);
  const std::string longValue(5000, 'v');
  VARIANT text;
  VariantInit(&text);
  V_VT(&text) = VT_BSTR;
  V_BSTR(&text) = SysAllocString(std::wstring(longValue.begin(), longValue.end()).c_str());
  LogValue("long", text, "Cat", 0);
  VariantClear(&text);

  Command(window_, kCopy);
  const std::string expected = "top\r\n"
                               "        deep = 42\r\n"
                               "    " + a80 + "\r\n"
                               "        tail\r\n"
                               "long = " + std::string(4095, 'v') + "\r\n";
  EXPECT_EQ(ClipboardText(), expected);

  // An empty list copies nothing: the clipboard keeps what it had.
  Command(window_, kClear);
  Command(window_, kCopy);
  EXPECT_EQ(ClipboardText(), expected);
}

TEST_F(LogWindowTest, KeepOnTopTogglesTheTopmostBand) {
  OpenWindow();
  Command(window_, kKeepOnTop);
  EXPECT_TRUE(IsItemChecked(window_, kKeepOnTop));
  EXPECT_NE(GetWindowLongPtrA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  Command(window_, kKeepOnTop);
  EXPECT_FALSE(IsItemChecked(window_, kKeepOnTop));
  EXPECT_EQ(GetWindowLongPtrA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(LogWindowTest, ExitAndCloseBoxEndTheWindow) {
  OpenWindow();
  Command(window_, kExit);
  short isWindow = -1;
  log_->IsLogWindow(&isWindow);
  EXPECT_EQ(isWindow, 0);
  PumpMessages();
  EXPECT_FALSE(IsWindow(window_));

  OpenWindow();
  SendMessageA(window_, WM_CLOSE, 0, 0);
  log_->IsLogWindow(&isWindow);
  EXPECT_EQ(isWindow, 0);
  EXPECT_FALSE(IsWindow(window_));
}

// Set while a pop-up menu was seen open by the timer below.
bool popupSeen = false;

void CALLBACK CloseOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND popup = FindWindowA("#32768", nullptr);
  if (popup && IsWindowVisible(popup)) {
    popupSeen = true;
    EndMenu();
  }
  KillTimer(nullptr, timer);
}

TEST_F(LogWindowTest, ClicksRaiseClickAsContextMenuEnabledSays) {
  OpenWindow();
  Log("click me");
  auto* sink = new test::EventRecorder(DIID__ILogEvents);
  test::Connection connection(log_, DIID__ILogEvents, sink);
  ASSERT_EQ(connection.Status(), S_OK);

  struct Case {
    LONG setting;
    bool right;
    std::string events;
    bool menu;
  };
  const Case cases[] = {
      {1, false, "-600(1)", false},
      {1, true, "", true},
      {0, false, "-600(1)", false},
      {0, true, "-600(2)", false},
      {-1, false, "-600(1)", false},
      {-1, true, "", false},
      {2, true, "", false},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(testing::Message() << "ContextMenuEnabled " << row.setting << (row.right ? " right" : " left"));
    log_->put_ContextMenuEnabled(row.setting);
    sink->Clear();
    popupSeen = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 300, CloseOpenMenu);
    ClickRow(list_, row.right);
    KillTimer(nullptr, timer);
    EXPECT_EQ(sink->Summary(), row.events);
    EXPECT_EQ(popupSeen, row.menu);
  }
  const std::vector<test::RecordedEvent> events = [&] {
    sink->Clear();
    log_->put_ContextMenuEnabled(0);
    ClickRow(list_, true);
    return sink->Events();
  }();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].threadId, GetCurrentThreadId());
  sink->Release();
}

}  // namespace
}  // namespace logtest
