// The page's dialog: its lists, loading fields from a control, and edit notifications.
#include <array>
#include <string>

#include "common/automation_types.h"
#include "page/property_page.h"
#include "resource.h"

namespace quarent::barcode {
namespace {

constexpr std::array<const char*, 3> kAlignmentItems = {"1 - qrnLeft", "2 - qrnRight", "3 - qrnCenter"};
constexpr std::array<const char*, 3> kOrientationItems = {"1 - qrnHorizontally", "2 - qrnVerticallyUp",
                                                          "3 - qrnVerticallyDown"};
constexpr std::array<const char*, 9> kStyleItems = {
    "1 - qrnBarCode128", "2 - qrnBarCode128A", "3 - qrnBarCode128B",
    "4 - qrnBarCode128C", "5 - qrnBarCode39", "6 - qrnBarCode2of5",
    "7 - qrnBarCode11", "8 - qrnBarCodeCodeabar", "9 - qrnBarCodeMSI"};
static_assert(kStyleItems.size() == 9, "one item per barcode style");

template <size_t N>
void FillList(HWND dialog, int listId, const std::array<const char*, N>& items) {
  SendDlgItemMessageA(dialog, listId, CB_RESETCONTENT, 0, 0);
  for (const char* item : items) SendDlgItemMessageA(dialog, listId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
}

void SetText(HWND dialog, int fieldId, BSTR text) { SetDlgItemTextA(dialog, fieldId, ToAnsi(text).c_str()); }

void SelectValue(HWND dialog, int listId, LONG value) {
  SendDlgItemMessageA(dialog, listId, CB_SETCURSEL, static_cast<WPARAM>(value - 1), 0);
}

void Tick(HWND dialog, int boxId, VARIANT_BOOL value) {
  CheckDlgButton(dialog, boxId, value != VARIANT_FALSE ? BST_CHECKED : BST_UNCHECKED);
}

}  // namespace

void FillPageLists(HWND dialog) {
  FillList(dialog, IDC_TEXT_ALIGNMENT, kAlignmentItems);
  FillList(dialog, IDC_BAR_ALIGNMENT, kAlignmentItems);
  FillList(dialog, IDC_BAR_ORIENTATION, kOrientationItems);
  FillList(dialog, IDC_BAR_STYLE, kStyleItems);
}

void LoadPageField(HWND dialog, IQRNBarCode* control, int fieldId) {
  Bstr text;
  VARIANT_BOOL flag = VARIANT_FALSE;
  Constants_Alignment alignment;
  Constants_Orientation orientation;
  Constants_BarCodeSel style;
  LONG number = 0;
  switch (fieldId) {
    case IDC_AUTO_SIZE:
      if (SUCCEEDED(control->get_AutoSize(&flag))) Tick(dialog, fieldId, flag);
      break;
    case IDC_TEXT_SHOW:
      if (SUCCEEDED(control->get_TextShow(&flag))) Tick(dialog, fieldId, flag);
      break;
    case IDC_CAPTION:
      if (SUCCEEDED(control->get_Caption(text.Receive()))) SetText(dialog, fieldId, text.Get());
      break;
    case IDC_TEXT_PREFIX:
      if (SUCCEEDED(control->get_TextPrefix(text.Receive()))) SetText(dialog, fieldId, text.Get());
      break;
    case IDC_TEXT_SUFFIX:
      if (SUCCEEDED(control->get_TextSuffix(text.Receive()))) SetText(dialog, fieldId, text.Get());
      break;
    case IDC_TEXT_ALIGNMENT:
      if (SUCCEEDED(control->get_TextAlignment(&alignment))) SelectValue(dialog, fieldId, alignment);
      break;
    case IDC_BAR_ALIGNMENT:
      if (SUCCEEDED(control->get_BarAlignment(&alignment))) SelectValue(dialog, fieldId, alignment);
      break;
    case IDC_BAR_WIDTH:
      if (SUCCEEDED(control->get_BarWidth(&number))) SetDlgItemInt(dialog, fieldId, static_cast<UINT>(number), TRUE);
      break;
    case IDC_BAR_STYLE:
      if (SUCCEEDED(control->get_BarStyle(&style))) SelectValue(dialog, fieldId, style);
      break;
    case IDC_BAR_ORIENTATION:
      if (SUCCEEDED(control->get_BarOrientation(&orientation))) SelectValue(dialog, fieldId, orientation);
      break;
    default:
      break;
  }
}

INT_PTR CALLBACK PropertyPageDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    if (auto* page = reinterpret_cast<PropertyPage*>(lParam)) page->OnInitDialog(dialog);
    return TRUE;
  }
  auto* page = reinterpret_cast<PropertyPage*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message != WM_COMMAND || page == nullptr) return FALSE;
  const int fieldId = LOWORD(wParam);
  const int notification = HIWORD(wParam);
  switch (fieldId) {
    case IDC_CAPTION:
    case IDC_BAR_WIDTH:
    case IDC_TEXT_PREFIX:
    case IDC_TEXT_SUFFIX:
      if (notification == EN_CHANGE) page->OnFieldEdited();
      return TRUE;
    case IDC_AUTO_SIZE:
    case IDC_TEXT_SHOW:
      if (notification == BN_CLICKED) page->OnFieldEdited();
      return TRUE;
    case IDC_BAR_ALIGNMENT:
    case IDC_TEXT_ALIGNMENT:
    case IDC_BAR_ORIENTATION:
    case IDC_BAR_STYLE:
      if (notification == CBN_SELCHANGE) page->OnFieldEdited();
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace quarent::barcode
