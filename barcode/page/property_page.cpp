#include "page/property_page.h"

#include <climits>
#include <string>

#include "common/automation_types.h"
#include "common/error_info.h"
#include "common/module.h"
#include "page/page_values.h"
#include "resource.h"

namespace quarent::barcode {
namespace {

// Text of field `fieldId` as a new automation string (ANSI in the dialog).
Bstr FieldText(HWND dialog, int fieldId) {
  const int length = GetWindowTextLengthA(GetDlgItem(dialog, fieldId));
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const int copied = GetDlgItemTextA(dialog, fieldId, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return Bstr::Adopt(AnsiToBstr(text));
}

VARIANT_BOOL FieldTicked(HWND dialog, int boxId) {
  return IsDlgButtonChecked(dialog, boxId) == BST_CHECKED ? VARIANT_TRUE : VARIANT_FALSE;
}

// List position + 1 (0 when nothing is selected).
LONG FieldValue(HWND dialog, int listId) {
  return static_cast<LONG>(SendDlgItemMessageA(dialog, listId, CB_GETCURSEL, 0, 0)) + 1;
}

// The leading decimal digits of field `fieldId` (0 when there are none), saturated.
LONG FieldNumber(HWND dialog, int fieldId) {
  const Bstr text = FieldText(dialog, fieldId);
  LONG value = 0;
  for (UINT index = 0; index < text.Length(); ++index) {
    const wchar_t character = text.Get()[index];
    if (character < L'0' || character > L'9') break;
    const LONG digit = character - L'0';
    value = value > (LONG_MAX - digit) / 10 ? LONG_MAX : value * 10 + digit;
  }
  return value;
}

// The values the page's fields hold now.
PageValues FieldValues(HWND dialog) {
  PageValues values;
  values.caption = FieldText(dialog, IDC_CAPTION);
  values.textShow = FieldTicked(dialog, IDC_TEXT_SHOW);
  values.textSuffix = FieldText(dialog, IDC_TEXT_SUFFIX);
  values.textPrefix = FieldText(dialog, IDC_TEXT_PREFIX);
  values.barAlignment = FieldValue(dialog, IDC_BAR_ALIGNMENT);
  values.barOrientation = FieldValue(dialog, IDC_BAR_ORIENTATION);
  values.textAlignment = FieldValue(dialog, IDC_TEXT_ALIGNMENT);
  values.autoSize = FieldTicked(dialog, IDC_AUTO_SIZE);
  values.barStyle = FieldValue(dialog, IDC_BAR_STYLE);
  values.barWidth = FieldNumber(dialog, IDC_BAR_WIDTH);
  return values;
}

// The fields in the order they are loaded.
constexpr int kLoadOrder[] = {IDC_AUTO_SIZE,      IDC_TEXT_SHOW,     IDC_CAPTION,   IDC_TEXT_PREFIX,
                              IDC_TEXT_SUFFIX,    IDC_TEXT_ALIGNMENT, IDC_BAR_ALIGNMENT, IDC_BAR_WIDTH,
                              IDC_BAR_STYLE,      IDC_BAR_ORIENTATION};

wchar_t* TaskMemoryCopy(const std::wstring& text) {
  auto* copy = static_cast<wchar_t*>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
  if (copy) lstrcpyW(copy, text.c_str());
  return copy;
}

}  // namespace

PropertyPage::PropertyPage(IUnknown* outer) : ComObject(outer) {}

PropertyPage::~PropertyPage() {
  if (dialog_) DestroyWindow(dialog_);
}

HRESULT PropertyPage::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  return CreateComObject<PropertyPage>(outer, iid, object);
}

void* PropertyPage::FindInterface(REFIID iid) {
  return IsEqualIID(iid, IID_IPropertyPage) ? static_cast<IPropertyPage*>(this) : nullptr;
}

STDMETHODIMP PropertyPage::SetPageSite(IPropertyPageSite* site) {
  site_ = ComPtr<IPropertyPageSite>(site);
  return S_OK;
}

STDMETHODIMP PropertyPage::Activate(HWND parent, LPCRECT position, BOOL) {
  if (position == nullptr) return E_POINTER;
  if (dialog_) return E_UNEXPECTED;
  dialog_ = CreateDialogParamW(module::Instance(), MAKEINTRESOURCEW(IDD_BARCODE_PAGE), parent,
                               &PropertyPageDialogProcedure, reinterpret_cast<LPARAM>(this));
  if (dialog_ == nullptr) return StatusFromPlatformError(GetLastError());
  MoveWindow(dialog_, position->left, position->top, position->right - position->left,
             position->bottom - position->top, TRUE);
  return S_OK;
}

STDMETHODIMP PropertyPage::Deactivate() {
  if (dialog_) DestroyWindow(dialog_);
  dialog_ = nullptr;
  return S_OK;
}

STDMETHODIMP PropertyPage::GetPageInfo(PROPPAGEINFO* info) {
  if (info == nullptr) return E_POINTER;
  // The page's size in pixels comes from its dialog template, measured on a hidden instance.
  HWND measured = CreateDialogParamW(module::Instance(), MAKEINTRESOURCEW(IDD_BARCODE_PAGE), GetDesktopWindow(),
                                     &PropertyPageDialogProcedure, 0);
  RECT bounds = {0, 0, 223, 191};
  if (measured) {
    GetWindowRect(measured, &bounds);
    DestroyWindow(measured);
  }
  info->cb = sizeof(*info);
  info->pszTitle = TaskMemoryCopy(LoadModuleString(IDS_PAGE_TITLE));
  info->size = {bounds.right - bounds.left, bounds.bottom - bounds.top};
  info->pszDocString = nullptr;
  info->pszHelpFile = nullptr;
  info->dwHelpContext = 0;
  return info->pszTitle ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP PropertyPage::SetObjects(ULONG count, IUnknown** objects) {
  if (count > 0 && objects == nullptr) return E_POINTER;
  objects_.clear();
  for (ULONG index = 0; index < count; ++index) objects_.emplace_back(objects[index]);
  return S_OK;
}

STDMETHODIMP PropertyPage::Show(UINT command) {
  if (dialog_ == nullptr) return E_UNEXPECTED;
  ShowWindow(dialog_, static_cast<int>(command));
  return S_OK;
}

STDMETHODIMP PropertyPage::Move(LPCRECT position) {
  if (position == nullptr) return E_POINTER;
  if (dialog_ == nullptr) return E_UNEXPECTED;
  MoveWindow(dialog_, position->left, position->top, position->right - position->left,
             position->bottom - position->top, TRUE);
  return S_OK;
}

STDMETHODIMP PropertyPage::IsPageDirty() { return changed_ ? S_OK : S_FALSE; }

STDMETHODIMP PropertyPage::Apply() {
  if (dialog_ == nullptr) return E_UNEXPECTED;
  // What every control holds before Apply, to put back if one of them refuses a value.
  std::vector<std::pair<ComPtr<IQRNBarCode>, PageValues>> controls;
  for (const ComPtr<IUnknown>& object : objects_) {
    ComPtr<IQRNBarCode> control = object.As<IQRNBarCode>();
    if (!control) continue;
    PageValues before;
    const HRESULT status = ReadPageValues(control.Get(), &before);
    if (FAILED(status)) return status;
    controls.emplace_back(std::move(control), std::move(before));
  }
  const PageValues fields = FieldValues(dialog_);
  for (size_t index = 0; index < controls.size(); ++index) {
    const PageWrite written = WritePageValues(controls[index].first.Get(), fields);
    if (FAILED(written.status)) {
      RefuseApply(controls, index, written);
      return written.status;
    }
  }
  changed_ = false;
  return S_OK;
}

void PropertyPage::RefuseApply(const std::vector<std::pair<ComPtr<IQRNBarCode>, PageValues>>& controls,
                               size_t refusing, const PageWrite& refusal) {
  IQRNBarCode* control = controls[refusing].first.Get();
  ReportRefusal(control);
  // Values read together are accepted again, so every control written goes back as it was.
  for (size_t index = 0; index <= refusing; ++index) {
    WritePageValues(controls[index].first.Get(), controls[index].second);
  }
  SetErrorInfo(0, nullptr);
  SetFocus(GetDlgItem(dialog_, refusal.fieldId));
  if (refusal.fieldWritten) {
    loading_ = true;
    LoadPageField(dialog_, control, refusal.fieldId);
    loading_ = false;
  }
}

void PropertyPage::ReportRefusal(IQRNBarCode* control) {
  std::string text = "Error updating property!";
  ComPtr<ISupportErrorInfo> support;
  control->QueryInterface(IID_ISupportErrorInfo, support.ReceiveVoid());
  ComPtr<IErrorInfo> error;
  if (support && support->InterfaceSupportsErrorInfo(IID_IQRNBarCode) == S_OK &&
      GetErrorInfo(0, error.Receive()) == S_OK && error) {
    Bstr description;
    if (SUCCEEDED(error->GetDescription(description.Receive())) && description.Length() > 0) {
      text = ToAnsi(description.Get());
    }
  }
  MessageBeep(MB_ICONHAND);
  MessageBoxA(dialog_, text.c_str(), "Error", MB_OK | MB_ICONERROR);
}

STDMETHODIMP PropertyPage::Help(LPCOLESTR) { return E_NOTIMPL; }

STDMETHODIMP PropertyPage::TranslateAccelerator(MSG* message) {
  if (message == nullptr) return E_POINTER;
  return dialog_ && IsDialogMessageW(dialog_, message) ? S_OK : S_FALSE;
}

void PropertyPage::OnInitDialog(HWND dialog) {
  dialog_ = dialog;
  loading_ = true;
  FillPageLists(dialog);
  if (!objects_.empty()) {
    ComPtr<IQRNBarCode> control = objects_.front().As<IQRNBarCode>();
    if (control) {
      for (int fieldId : kLoadOrder) LoadPageField(dialog, control.Get(), fieldId);
    }
  }
  loading_ = false;
  changed_ = false;
}

void PropertyPage::OnFieldEdited() {
  if (loading_) return;
  changed_ = true;
  if (site_) site_->OnStatusChange(PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE);
}

}  // namespace quarent::barcode
