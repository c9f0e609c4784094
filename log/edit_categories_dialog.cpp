#include "edit_categories_dialog.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "common/module.h"
#include "model/limit_entry.h"
#include "resource.h"
#include "model/value_text.h"

namespace quarent::brnlog {
namespace {

enum class Bound { kLower, kUpper };

// The controls of one bound; the type buttons in TypeFamily order.
struct BoundControls {
  int edit;
  int condition;
  std::array<int, 4> typeButtons;
};
constexpr BoundControls kLowerControls = {
    IDC_LOWER_VALUE, IDC_LOWER_CONDITION, {IDC_LOWER_INTEGER, IDC_LOWER_STRING, IDC_LOWER_DECIMAL, IDC_LOWER_LONG}};
constexpr BoundControls kUpperControls = {
    IDC_UPPER_VALUE, IDC_UPPER_CONDITION, {IDC_UPPER_INTEGER, IDC_UPPER_STRING, IDC_UPPER_DECIMAL, IDC_UPPER_LONG}};
constexpr std::array<TypeFamily, 4> kFamilies = {TypeFamily::kInteger, TypeFamily::kString, TypeFamily::kDecimal,
                                                 TypeFamily::kLong};

// Texts of the condition lists; a position is the brnLimitsConstants value.
constexpr std::array<const char*, 5> kConditionTexts = {"(None)", "<", "<=", ">", ">="};
static_assert(kConditionTexts.size() == kConditionGreaterEqual + 1, "one text per condition");

constexpr size_t kEditTextBuffer = kMaxTextBytes + 1;

const BoundControls& ControlsOf(Bound bound) { return bound == Bound::kLower ? kLowerControls : kUpperControls; }

class EditCategoriesDialog {
 public:
  EditCategoriesDialog(FilterModel& model, const PlatformText& text) : model_(model), text_(text) {}

  INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam);

 private:
  void Open();
  void ChooseCategory();
  void ChooseCondition(Bound bound);
  void ClickType(Bound bound, TypeFamily family);
  void LeaveEditBox(Bound bound);
  void WriteBack();

  std::vector<Category>& Table() { return model_.EditableCategories(); }
  LogValue& Limit(Bound bound) { return bound == Bound::kLower ? working_.limits.lower : working_.limits.upper; }
  int16_t& Condition(Bound bound) {
    return bound == Bound::kLower ? working_.limits.lowerCondition : working_.limits.upperCondition;
  }
  // The bound's edit box shows its limit when `show`, else nothing.
  void ShowLimitText(Bound bound, bool show);
  // Checks the type button of the limit's family and unchecks the others.
  void CheckTypeButtons(Bound bound);
  void SelectCondition(Bound bound);
  std::optional<TypeFamily> CheckedFamily(Bound bound) const;
  EditBoxText ReadEditBox(Bound bound) const;

  FilterModel& model_;
  const PlatformText& text_;
  HWND dialog_ = nullptr;
  int selected_ = 0;
  Category working_;
};

void EditCategoriesDialog::Open() {
  working_ = Category{};
  selected_ = 0;
  HWND categories = GetDlgItem(dialog_, IDC_CATEGORY_LIST);
  for (const Category& category : Table()) {
    const std::string name = text_.ToAnsi(category.name);
    SendMessageA(categories, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  }
  SendMessageA(categories, CB_SETCURSEL, 0, 0);
  for (const char* text : kConditionTexts) {
    SendDlgItemMessageA(dialog_, IDC_LOWER_CONDITION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendDlgItemMessageA(dialog_, IDC_UPPER_CONDITION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  if (Table().empty()) return;

  working_ = Table().front();
  for (Bound bound : {Bound::kLower, Bound::kUpper}) {
    SelectCondition(bound);
    if (Condition(bound) >= 1) {
      ShowLimitText(bound, true);
      CheckTypeButtons(bound);
    }
  }
}

void EditCategoriesDialog::ChooseCategory() {
  selected_ = static_cast<int>(SendDlgItemMessageA(dialog_, IDC_CATEGORY_LIST, CB_GETCURSEL, 0, 0));
  if (selected_ < 0 || static_cast<size_t>(selected_) >= Table().size()) return;
  // Edits made to the category chosen before are dropped.
  working_ = Table()[static_cast<size_t>(selected_)];
  for (Bound bound : {Bound::kLower, Bound::kUpper}) {
    SelectCondition(bound);
    ShowLimitText(bound, Condition(bound) >= 1);
    CheckTypeButtons(bound);
  }
}

void EditCategoriesDialog::ChooseCondition(Bound bound) {
  const LRESULT position = SendDlgItemMessageA(dialog_, ControlsOf(bound).condition, CB_GETCURSEL, 0, 0);
  Condition(bound) = static_cast<int16_t>(position);
}

void EditCategoriesDialog::ClickType(Bound bound, TypeFamily family) {
  Limit(bound) = ReadLimit(family, Limit(bound).type, ReadEditBox(bound), text_);
}

void EditCategoriesDialog::LeaveEditBox(Bound bound) {
  // Passing through the box without typing keeps the limit as it is: its text
  // need not read back to the same value (a date, six decimals, a null string).
  if (!SendDlgItemMessageA(dialog_, ControlsOf(bound).edit, EM_GETMODIFY, 0, 0)) return;
  const std::optional<TypeFamily> family = CheckedFamily(bound);
  Limit(bound) = family ? ReadLimit(*family, Limit(bound).type, ReadEditBox(bound), text_) : LogValue::Empty();
}

void EditCategoriesDialog::WriteBack() {
  if (selected_ < 0 || static_cast<size_t>(selected_) >= Table().size()) return;
  Category& record = Table()[static_cast<size_t>(selected_)];
  if (record.name != working_.name || !CategoryChanged(record, working_)) return;
  record.limits.lower = working_.limits.lower;
  record.limits.lowerCondition = working_.limits.lowerCondition;
  record.limits.upper = working_.limits.upper;
  record.limits.upperCondition = working_.limits.upperCondition;
}

void EditCategoriesDialog::ShowLimitText(Bound bound, bool show) {
  const std::string text = show ? ValueText(Limit(bound), text_) : std::string();
  SetDlgItemTextA(dialog_, ControlsOf(bound).edit, text.c_str());
}

void EditCategoriesDialog::CheckTypeButtons(Bound bound) {
  const std::optional<TypeFamily> family = FamilyOfType(Limit(bound).type);
  for (size_t index = 0; index < kFamilies.size(); ++index) {
    const bool checked = family == kFamilies[index];
    CheckDlgButton(dialog_, ControlsOf(bound).typeButtons[index], checked ? BST_CHECKED : BST_UNCHECKED);
  }
}

void EditCategoriesDialog::SelectCondition(Bound bound) {
  // A condition outside the list leaves it without a selection.
  SendDlgItemMessageA(dialog_, ControlsOf(bound).condition, CB_SETCURSEL, static_cast<WPARAM>(Condition(bound)), 0);
}

std::optional<TypeFamily> EditCategoriesDialog::CheckedFamily(Bound bound) const {
  for (size_t index = 0; index < kFamilies.size(); ++index) {
    if (IsDlgButtonChecked(dialog_, ControlsOf(bound).typeButtons[index]) == BST_CHECKED) return kFamilies[index];
  }
  return std::nullopt;
}

EditBoxText EditCategoriesDialog::ReadEditBox(Bound bound) const {
  const int edit = ControlsOf(bound).edit;
  std::string buffer(kEditTextBuffer, '\0');
  const UINT length = GetDlgItemTextA(dialog_, edit, buffer.data(), static_cast<int>(buffer.size()));
  buffer.resize(length);
  BOOL translated = FALSE;
  const auto integer = static_cast<int32_t>(GetDlgItemInt(dialog_, edit, &translated, TRUE));
  return EditBoxText{std::move(buffer), translated ? integer : 0};
}

INT_PTR EditCategoriesDialog::Handle(HWND dialog, UINT message, WPARAM wParam) {
  if (message == WM_INITDIALOG) {
    dialog_ = dialog;
    Open();
    return TRUE;
  }
  if (message != WM_COMMAND) return FALSE;
  const int control = LOWORD(wParam);
  const int notification = HIWORD(wParam);
  for (Bound bound : {Bound::kLower, Bound::kUpper}) {
    const BoundControls& controls = ControlsOf(bound);
    if (control == controls.condition && notification == CBN_SELCHANGE) {
      ChooseCondition(bound);
      return TRUE;
    }
    if (control == controls.edit && notification == EN_KILLFOCUS) {
      LeaveEditBox(bound);
      return TRUE;
    }
    for (size_t index = 0; index < kFamilies.size(); ++index) {
      if (control == controls.typeButtons[index] && notification == BN_CLICKED) {
        ClickType(bound, kFamilies[index]);
        return TRUE;
      }
    }
  }
  switch (control) {
    case IDC_CATEGORY_LIST:
      if (notification == CBN_SELCHANGE) ChooseCategory();
      return TRUE;
    case IDC_EDIT_OK:
    case IDOK:
      WriteBack();
      EndDialog(dialog, 1);
      return TRUE;
    case IDC_EDIT_CANCEL:
    case IDCANCEL:  // the close box and Esc
      EndDialog(dialog, 0);
      return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK EditCategoriesProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, lParam);
  auto* editor = reinterpret_cast<EditCategoriesDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (!editor) return FALSE;
  try {
    return editor->Handle(dialog, message, wParam);
  } catch (...) {
    return FALSE;
  }
}

}  // namespace

INT_PTR RunEditCategoriesDialog(HWND owner, FilterModel& model, const PlatformText& text) {
  EditCategoriesDialog editor(model, text);
  return DialogBoxParamA(module::Instance(), MAKEINTRESOURCEA(IDD_EDIT_CATEGORIES), owner, EditCategoriesProc,
                         reinterpret_cast<LPARAM>(&editor));
}

}  // namespace quarent::brnlog
