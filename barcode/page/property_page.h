#pragma once
// QRNBCPage: the control's own property page (dialog 1010). It shows the caption and barcode
// properties of the first selected control and, on Apply, writes every field to each selected
// control through IQRNBarCode; a refused Apply leaves every control as it was.
#include <windows.h>
#include <ocidl.h>

#include <utility>
#include <vector>

#include "QRNBC10_h.h"
#include "common/com_object.h"
#include "common/com_ptr.h"
#include "page/page_values.h"

namespace quarent::barcode {

class PropertyPage : public ComObject<IPropertyPage> {
 public:
  explicit PropertyPage(IUnknown* outer);
  ~PropertyPage() override;

  // Class factory entry.
  static HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object);

  STDMETHODIMP SetPageSite(IPropertyPageSite* site) override;
  STDMETHODIMP Activate(HWND parent, LPCRECT position, BOOL modal) override;
  STDMETHODIMP Deactivate() override;
  STDMETHODIMP GetPageInfo(PROPPAGEINFO* info) override;
  STDMETHODIMP SetObjects(ULONG count, IUnknown** objects) override;
  STDMETHODIMP Show(UINT command) override;
  STDMETHODIMP Move(LPCRECT position) override;
  STDMETHODIMP IsPageDirty() override;
  STDMETHODIMP Apply() override;
  STDMETHODIMP Help(LPCOLESTR helpDirectory) override;
  STDMETHODIMP TranslateAccelerator(MSG* message) override;

  // Dialog callbacks (property_page_dialog.cpp).
  // Fills the lists and the fields from the first selected control; the page is then clean.
  void OnInitDialog(HWND dialog);
  // A field was edited: the page becomes dirty and asks its site for validation.
  void OnFieldEdited();

 protected:
  void* FindInterface(REFIID iid) override;

 private:
  // After control `refusing` of `controls` (each with the values it had before Apply) refused
  // a value: shows the refusal, puts every control written back as it was, then focuses and
  // reloads the refused field.
  void RefuseApply(const std::vector<std::pair<ComPtr<IQRNBarCode>, PageValues>>& controls, size_t refusing,
                   const PageWrite& refusal);
  // Shows the control's error description, or a general message, after a refused value.
  void ReportRefusal(IQRNBarCode* control);

  ComPtr<IPropertyPageSite> site_;
  std::vector<ComPtr<IUnknown>> objects_;
  HWND dialog_ = nullptr;
  bool changed_ = false;
  bool loading_ = false;
};

// The dialog procedure of the page; its creation parameter is the PropertyPage.
INT_PTR CALLBACK PropertyPageDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The field helpers shared by loading and Apply (property_page_dialog.cpp).
// Fills the four lists with their items.
void FillPageLists(HWND dialog);
// Loads field `fieldId` from `control`; a getter that fails leaves the field as it is.
void LoadPageField(HWND dialog, IQRNBarCode* control, int fieldId);

}  // namespace quarent::barcode
