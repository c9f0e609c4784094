// The log window's dialogs driven as a user would, from a second thread while
// the window's thread runs the modal loop: Edit Categories, Save and About.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "log_fixture.h"

namespace logtest {
namespace {

// Edit Categories controls.
constexpr int kCategoryList = 201;
constexpr int kLowerValue = 202;
constexpr int kLowerInteger = 203;
constexpr int kLowerDecimal = 205;
constexpr int kLowerCondition = 206;
constexpr int kUpperValue = 207;
constexpr int kUpperDecimal = 210;
constexpr int kUpperCondition = 211;
constexpr int kOk = 212;
constexpr int kCancel = 213;
constexpr int kLowerLong = 214;
constexpr int kUpperLong = 215;

using Texts = std::vector<std::string>;

// What the driver thread does to the Edit Categories dialog, and what it saw.
class CategoriesDialog {
 public:
  explicit CategoriesDialog(HWND dialog) : dialog_(dialog) {}

  void SelectCategory(int index) { Select(kCategoryList, index); }
  void SelectCondition(int list, int position) { Select(list, position); }
  // Types `text` over the box's content, as the keyboard does (the box is modified).
  void Type(int edit, const char* text) {
    SendDlgItemMessageA(dialog_, edit, EM_SETSEL, 0, -1);
    SendDlgItemMessageA(dialog_, edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
  }
  // The box loses the keyboard focus.
  void Leave(int edit) { Notify(edit, EN_KILLFOCUS); }
  void Click(int button) { SendDlgItemMessageA(dialog_, button, BM_CLICK, 0, 0); }
  // Makes the lower bound "above `integer`" as a user does: condition >,
  // Integer, the number typed in.
  void SetLowerAbove(const char* integer) {
    SelectCondition(kLowerCondition, brnGreater);
    Click(kLowerInteger);
    Type(kLowerValue, integer);
    Leave(kLowerValue);
  }

  std::string Text(int control) const {
    char text[4096] = {};
    GetDlgItemTextA(dialog_, control, text, sizeof text);
    return text;
  }
  int Selection(int list) const { return static_cast<int>(SendDlgItemMessageA(dialog_, list, CB_GETCURSEL, 0, 0)); }
  Texts Entries(int list) const {
    Texts entries;
    const int count = static_cast<int>(SendDlgItemMessageA(dialog_, list, CB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
      char text[256] = {};
      SendDlgItemMessageA(dialog_, list, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
      entries.push_back(text);
    }
    return entries;
  }
  // Identifiers of the checked type buttons of both bounds.
  std::vector<int> CheckedTypes() const {
    std::vector<int> checked;
    for (int button : {203, 204, 205, 214, 208, 209, 210, 215}) {
      if (IsDlgButtonChecked(dialog_, button) == BST_CHECKED) checked.push_back(button);
    }
    return checked;
  }

 private:
  void Select(int list, int index) {
    SendDlgItemMessageA(dialog_, list, CB_SETCURSEL, index, 0);
    Notify(list, CBN_SELCHANGE);
  }
  void Notify(int control, int code) {
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(control, code),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog_, control)));
  }
  HWND dialog_;
};

struct DescendantSearch {
  const char* className;
  int id;
  HWND found;
};

BOOL CALLBACK MatchDescendant(HWND window, LPARAM search) {
  auto* state = reinterpret_cast<DescendantSearch*>(search);
  char className[64] = {};
  GetClassNameA(window, className, sizeof className);
  if (GetDlgCtrlID(window) == state->id && lstrcmpiA(className, state->className) == 0) {
    state->found = window;
    return FALSE;
  }
  return TRUE;
}

// The first window of class `className` with identifier `id` among all of `parent`'s descendants.
HWND FindDescendant(HWND parent, const char* className, int id) {
  DescendantSearch search{className, id, nullptr};
  EnumChildWindows(parent, MatchDescendant, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class LogDialogsTest : public LogTest {
 protected:
  void SetUp() override {
    LogTest::SetUp();
    OpenWindow();
  }

  // Opens Edit Categories and runs `drive` on it from a second thread;
  // `drive` ends by pressing OK or Cancel.
  void EditCategories(const std::function<void(CategoriesDialog&)>& drive) {
    bool opened = false;
    WhileDriving(
        [&] {
          HWND dialog = WaitForWindow("#32770", "Edit Categories");
          if (!dialog) return;
          opened = true;
          CategoriesDialog driver(dialog);
          drive(driver);
        },
        [&] { Command(window_, kEditCategories); });
    EXPECT_TRUE(opened);
  }

  // Logs `text` with `value` into `category`; true when it was stored.
  bool Kept(const char* text, VARIANT value, const char* category) {
    const size_t before = ReadRows(list_).size();
    LogValue(text, value, category);
    VariantClear(&value);
    return ReadRows(list_).size() > before;
  }

  Texts AfterRefresh() {
    Command(window_, kRefresh);
    return MessageColumn(list_);
  }
};

VARIANT Currency(LONGLONG scaled) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_CY;
  V_CY(&value).int64 = scaled;
  return value;
}

VARIANT R4(float number) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_R4;
  V_R4(&value) = number;
  return value;
}

VARIANT String(const wchar_t* text) {
  VARIANT value;
  VariantInit(&value);
  V_VT(&value) = VT_BSTR;
  V_BSTR(&value) = SysAllocString(text);
  return value;
}

TEST_F(LogDialogsTest, EmptyTableOpensAndClosesWithoutEffect) {
  Texts categories;
  int lowerSelection = 0;
  int upperSelection = 0;
  Texts conditions;
  EditCategories([&](CategoriesDialog& dialog) {
    categories = dialog.Entries(kCategoryList);
    lowerSelection = dialog.Selection(kLowerCondition);
    upperSelection = dialog.Selection(kUpperCondition);
    conditions = dialog.Entries(kUpperCondition);
    dialog.Click(kOk);
  });
  EXPECT_TRUE(categories.empty());
  EXPECT_EQ(lowerSelection, CB_ERR);
  EXPECT_EQ(upperSelection, CB_ERR);
  EXPECT_EQ(conditions, (Texts{"(None)", "<", "<=", ">", ">="}));
  EXPECT_EQ(FilterMenuTexts(window_).size(), 5u);
  EditCategories([](CategoriesDialog& dialog) { dialog.Click(kCancel); });
  EXPECT_EQ(FilterMenuTexts(window_).size(), 5u);
}

// One control of the Edit Categories dialog, in template order. Positions in
// dialog units; id 0 where the control has none of its own.
struct DialogControl {
  const char* className;
  int id;
  const char* text;
  RECT units;  // left, top, width, height
  DWORD styleMask;
  DWORD style;
};

constexpr DWORD kButtonKind = 0x0F;  // BS_TYPEMASK
constexpr DWORD kComboKind = 0x03;

const DialogControl kEditCategoriesLayout[] = {
    {"Static", 0, "Category:", {12, 7, 31, 12}, 0, 0},
    {"ComboBox", 201, "", {47, 7, 187, 59}, kComboKind, CBS_DROPDOWNLIST},
    {"Button", 0, "Lower Bound", {7, 26, 105, 93}, kButtonKind, BS_GROUPBOX},
    {"Static", 0, "LValue:", {13, 42, 25, 8}, 0, 0},
    {"Edit", 202, "", {14, 52, 78, 12}, ES_AUTOHSCROLL, ES_AUTOHSCROLL},
    {"Button", 203, "Integer", {14, 67, 38, 10}, kButtonKind, BS_AUTORADIOBUTTON},
    {"Button", 204, "String", {54, 67, 34, 10}, kButtonKind, BS_AUTORADIOBUTTON},
    {"Button", 205, "Decimal", {14, 77, 40, 10}, kButtonKind, BS_AUTORADIOBUTTON},
    {"Button", 214, "Long", {54, 77, 32, 10}, kButtonKind, BS_AUTORADIOBUTTON},
    {"Static", 0, "Condition:", {13, 91, 32, 8}, 0, 0},
    {"Static", 0, "Msg Value", {15, 100, 38, 13}, 0, 0},
    {"ComboBox", 206, "", {53, 100, 27, 53}, kComboKind, CBS_DROPDOWNLIST},
    {"Static", 0, "LValue", {80, 100, 27, 13}, 0, 0},
    {"Button", 0, "Upper Bound", {129, 25, 105, 93}, kButtonKind, BS_GROUPBOX},
    {"Static", 0, "UValue:", {135, 41, 26, 8}, 0, 0},
    {"Edit", 207, "", {136, 52, 78, 12}, ES_AUTOHSCROLL, ES_AUTOHSCROLL},
    {"Button", 208, "Integer", {136, 66, 38, 10}, kButtonKind, BS_AUTORADIOBUTTON},
    {"Button", 209, "String", {176, 66, 34, 10}, kButtonKind, BS_AUTORADIOBUTTON},
    {"Button", 210, "Decimal", {136, 76, 40, 10}, kButtonKind, BS_AUTORADIOBUTTON},
    {"Button", 215, "Long", {176, 76, 32, 10}, kButtonKind, BS_AUTORADIOBUTTON},
    {"Static", 0, "Condition:", {135, 90, 32, 8}, 0, 0},
    {"Static", 0, "Msg Value", {137, 100, 38, 13}, 0, 0},
    {"ComboBox", 211, "", {175, 100, 27, 53}, kComboKind, CBS_DROPDOWNLIST},
    {"Static", 0, "UValue", {202, 100, 28, 13}, 0, 0},
    {"Button", 212, "OK", {68, 130, 50, 14}, kButtonKind, BS_DEFPUSHBUTTON},
    {"Button", 213, "Cancel", {122, 130, 50, 14}, kButtonKind, BS_PUSHBUTTON},
};

// What the layout check found wrong, one line per difference.
std::vector<std::string> LayoutDifferences(HWND dialog) {
  std::vector<std::string> differences;
  auto differ = [&](size_t index, const std::string& what) {
    differences.push_back("control " + std::to_string(index) + ": " + what);
  };
  HWND child = GetWindow(dialog, GW_CHILD);
  for (size_t index = 0; index < std::size(kEditCategoriesLayout); ++index, child = GetWindow(child, GW_HWNDNEXT)) {
    const DialogControl& want = kEditCategoriesLayout[index];
    if (!child) {
      differ(index, "missing");
      break;
    }
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, want.className) != 0) differ(index, std::string("class ") + className);
    if (want.id != 0 && GetDlgCtrlID(child) != want.id) differ(index, "id " + std::to_string(GetDlgCtrlID(child)));
    if (lstrcmpiA(want.className, "ComboBox") != 0) {
      char text[64] = {};
      GetWindowTextA(child, text, sizeof text);
      if (std::string(text) != want.text) differ(index, std::string("text ") + text);
    }
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(child, GWL_STYLE));
    if ((style & want.styleMask) != want.style) differ(index, "style " + std::to_string(style));

    // Position and size are mapped one by one, as the dialog manager does.
    RECT expected = want.units;
    MapDialogRect(dialog, &expected);
    expected.right += expected.left;
    expected.bottom += expected.top;
    RECT actual = {};
    GetWindowRect(child, &actual);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
    // A drop-down list's window is as high as its closed box, not its list.
    const bool comboBox = lstrcmpiA(className, "ComboBox") == 0;
    if (actual.left != expected.left || actual.top != expected.top || actual.right != expected.right ||
        (!comboBox && actual.bottom != expected.bottom)) {
      differ(index, "at " + std::to_string(actual.left) + "," + std::to_string(actual.top) + "-" +
                        std::to_string(actual.right) + "," + std::to_string(actual.bottom) + " instead of " +
                        std::to_string(expected.left) + "," + std::to_string(expected.top) + "-" +
                        std::to_string(expected.right) + "," + std::to_string(expected.bottom));
    }
  }
  if (child) differ(std::size(kEditCategoriesLayout), "more controls than expected");
  return differences;
}

TEST_F(LogDialogsTest, EditCategoriesLayoutAndRadioGroups) {
  std::vector<std::string> differences = {"not seen"};
  SIZE client = {};
  RECT expectedClient = {0, 0, 241, 151};
  std::string fontFace;
  LONG fontHeight = 0;
  std::vector<int> checked;
  EditCategories([&](CategoriesDialog& dialog) {
    HWND window = FindWindowA("#32770", "Edit Categories");
    differences = LayoutDifferences(window);
    RECT area = {};
    GetClientRect(window, &area);
    client = {area.right, area.bottom};
    MapDialogRect(window, &expectedClient);
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    fontFace = font.lfFaceName;
    fontHeight = font.lfHeight;
    // Each bound's four buttons are a group of their own.
    dialog.Click(kLowerInteger);
    dialog.Click(kUpperDecimal);
    dialog.Click(kLowerDecimal);
    checked = dialog.CheckedTypes();
    dialog.Click(kCancel);
  });
  EXPECT_EQ(differences, std::vector<std::string>{});
  EXPECT_EQ(client.cx, expectedClient.right);
  EXPECT_EQ(client.cy, expectedClient.bottom);
  EXPECT_EQ(fontFace, "MS Sans Serif");
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(fontHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(checked, (std::vector<int>{kLowerDecimal, kUpperDecimal}));
}

TEST_F(LogDialogsTest, IntegerTypedInAnEmptyLimitKeepsItsLowSixteenBits) {
  LONG enabled = 0;
  log_->CategoryIsEnabled(Text("Temp"), &enabled);
  Texts categories;
  std::vector<int> checkedAtOpen;
  EditCategories([&](CategoriesDialog& dialog) {
    categories = dialog.Entries(kCategoryList);
    checkedAtOpen = dialog.CheckedTypes();
    dialog.SelectCondition(kLowerCondition, brnGreaterEqual);
    dialog.Click(kLowerInteger);
    dialog.Type(kLowerValue, "70000");
    dialog.Leave(kLowerValue);
    dialog.Click(kOk);
  });
  EXPECT_EQ(categories, (Texts{"Temp"}));
  EXPECT_TRUE(checkedAtOpen.empty());
  // 70000 & 0xFFFF = 4464, kept as VT_I2.
  EXPECT_TRUE(Kept("at the limit", I2(4464), "Temp"));
  EXPECT_FALSE(Kept("below", I2(4463), "Temp"));
  EXPECT_FALSE(Kept("a long", I4(70000), "Temp"));
  EXPECT_EQ(AfterRefresh(), (Texts{"at the limit"}));
}

TEST_F(LogDialogsTest, DecimalKeepsDoublesAndMakesOthersSingle) {
  // Outside the range: lower < passes what is below, upper > what is above.
  log_->CategoryLimits(Text("Dec"), R8(0.5), brnLess, I4(10), brnGreater);
  std::string lowerText;
  std::string upperText;
  std::vector<int> checked;
  int lowerCondition = -1;
  int upperCondition = -1;
  EditCategories([&](CategoriesDialog& dialog) {
    lowerText = dialog.Text(kLowerValue);
    upperText = dialog.Text(kUpperValue);
    checked = dialog.CheckedTypes();
    lowerCondition = dialog.Selection(kLowerCondition);
    upperCondition = dialog.Selection(kUpperCondition);
    dialog.Click(kLowerDecimal);
    dialog.Click(kUpperDecimal);
    dialog.Click(kOk);
  });
  EXPECT_EQ(lowerText, "0.500000");
  EXPECT_EQ(upperText, "10");
  EXPECT_EQ(checked, (std::vector<int>{kLowerDecimal, kUpperLong}));
  EXPECT_EQ(lowerCondition, 1);
  EXPECT_EQ(upperCondition, 3);
  EXPECT_TRUE(Kept("double below", R8(0.25), "Dec"));   // lower stayed VT_R8
  EXPECT_FALSE(Kept("double between", R8(0.75), "Dec"));
  EXPECT_TRUE(Kept("single above", R4(20.0f), "Dec"));  // upper became VT_R4
  EXPECT_FALSE(Kept("long above", I4(20), "Dec"));
  EXPECT_EQ(AfterRefresh(), (Texts{"double below", "single above"}));
}

TEST_F(LogDialogsTest, LongInTheUpperBoundConvertsOnlyTheUpperLimit) {
  log_->CategoryLimits(Text("Mix"), I2(5), brnLess, String(L"20"), brnGreater);
  EditCategories([](CategoriesDialog& dialog) {
    dialog.Click(kUpperLong);
    dialog.Click(kOk);
  });
  EXPECT_TRUE(Kept("small", I2(3), "Mix"));   // lower still VT_I2 5
  EXPECT_FALSE(Kept("middle", I2(7), "Mix"));
  EXPECT_TRUE(Kept("large", I4(25), "Mix"));  // upper now VT_I4 20
  EXPECT_FALSE(Kept("text", String(L"3"), "Mix"));
}

TEST_F(LogDialogsTest, OnlyTheCategorySelectedAtOkChanges) {
  log_->CategoryLimits(Text("A"), I2(0), brnNone, I2(0), brnNone);
  log_->CategoryLimits(Text("B"), I4(3), brnNone, I4(0), brnNone);
  std::string hiddenText = "?";
  std::vector<int> hiddenChecked;
  EditCategories([&](CategoriesDialog& dialog) {
    dialog.SetLowerAbove("5");
    // B: lower condition none but a limit: no text, its type's button.
    dialog.SelectCategory(1);
    hiddenText = dialog.Text(kLowerValue);
    hiddenChecked = dialog.CheckedTypes();
    dialog.Click(kOk);
  });
  EXPECT_EQ(hiddenText, "");
  EXPECT_EQ(hiddenChecked, (std::vector<int>{kLowerLong, kUpperLong}));
  EXPECT_TRUE(Kept("A unchanged", I2(1), "A"));
  EXPECT_TRUE(Kept("B unchanged", I4(1), "B"));

  EditCategories([](CategoriesDialog& dialog) {
    dialog.SetLowerAbove("5");
    dialog.Click(kCancel);
  });
  EXPECT_TRUE(Kept("A still unchanged", I2(1), "A"));

  EditCategories([](CategoriesDialog& dialog) {
    dialog.SetLowerAbove("5");
    dialog.Click(kOk);
  });
  EXPECT_FALSE(Kept("A now limited", I2(1), "A"));
  EXPECT_TRUE(Kept("A above", I2(6), "A"));
}

TEST_F(LogDialogsTest, PassingThroughAnEditBoxKeepsItsLimit) {
  // 1e-9 shows as "0.000000"; reading that back would make the limit 0.
  log_->CategoryLimits(Text("Fine"), R8(1e-9), brnGreater, I4(0), brnNone);
  EditCategories([](CategoriesDialog& dialog) {
    dialog.Leave(kLowerValue);
    dialog.Click(kOk);
  });
  EXPECT_FALSE(Kept("half the limit", R8(5e-10), "Fine"));
  EXPECT_TRUE(Kept("twice the limit", R8(2e-9), "Fine"));
}

TEST_F(LogDialogsTest, CurrencyLimitsReadAsAmounts) {
  log_->CategoryLimits(Text("Money"), Currency(15000), brnGreaterEqual, I4(0), brnNone);
  std::string shown;
  EditCategories([&](CategoriesDialog& dialog) {
    shown = dialog.Text(kLowerValue);
    dialog.Type(kLowerValue, "2.25");
    dialog.Leave(kLowerValue);
    dialog.Click(kOk);
  });
  EXPECT_EQ(shown, "1.5000");
  EXPECT_TRUE(Kept("at 2.25", Currency(22500), "Money"));
  EXPECT_FALSE(Kept("just below", Currency(22499), "Money"));
}

TEST_F(LogDialogsTest, SaveWritesTheListedLinesToTheChosenFile) {
  Log("one", 0);
  LogValue("two", I4(2), "Cat", 1);
  Log("three", 2);
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  // Typed without an extension: the dialog adds one.
  const std::string typed = std::string(folder) + "saved";
  const std::string path = typed + ".log";
  DeleteFileA(path.c_str());

  bool dialogSeen = false;
  Texts fileTypes;
  WhileDriving(
      [&] {
        HWND dialog = WaitForWindow("#32770", "Save As");
        if (!dialog) return;
        dialogSeen = true;
        // The file type list (cmb1) shows the one filter entry.
        HWND types = GetDlgItem(dialog, 0x470);
        const int count = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
        for (int index = 0; index < count; ++index) {
          char text[128] = {};
          SendMessageA(types, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
          fileTypes.push_back(text);
        }
        // The file name box (cmb13), an edit inside nested combo boxes.
        HWND edit = FindDescendant(dialog, "Edit", 0x47c);
        if (!edit) {
          SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
          return;
        }
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
        SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
      },
      [&] { Command(window_, kSave); });
  ASSERT_TRUE(dialogSeen);
  EXPECT_EQ(fileTypes, (Texts{"Log files *.log;"}));

  std::ifstream file(path, std::ios::binary);
  ASSERT_TRUE(file.good()) << path;
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, std::string("one\r\n    two = 2\r\n        three\r\n"));
}

TEST_F(LogDialogsTest, SaveCancelledWritesNothing) {
  Log("unsaved");
  bool dialogSeen = false;
  WhileDriving(
      [&] {
        HWND dialog = WaitForWindow("#32770", "Save As");
        if (!dialog) return;
        dialogSeen = true;
        SendDlgItemMessageA(dialog, IDCANCEL, BM_CLICK, 0, 0);
      },
      [&] { Command(window_, kSave); });
  EXPECT_TRUE(dialogSeen);
  EXPECT_EQ(MessageColumn(list_), (Texts{"unsaved"}));
}

TEST_F(LogDialogsTest, AboutBoxShowsTheProductLine) {
  bool lineFound = false;
  bool iconFound = false;
  WhileDriving(
      [&] {
        HWND about = WaitForWindow("#32770", "About BrnLog Control");
        if (!about) return;
        lineFound = FindWindowExA(about, nullptr, "Static", "Brindle Logging Control - Version 1.10") != nullptr;
        for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
          if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
              SendMessageA(child, STM_GETICON, 0, 0) != 0) {
            iconFound = true;
          }
        }
        SendDlgItemMessageA(about, 212, BM_CLICK, 0, 0);
      },
      [&] { Command(window_, kAbout); });
  EXPECT_TRUE(lineFound);
  EXPECT_TRUE(iconFound);
  EXPECT_TRUE(IsWindowEnabled(window_));
}

}  // namespace
}  // namespace logtest
