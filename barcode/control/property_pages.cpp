// ISpecifyPropertyPages and ICategorizeProperties: how a form designer shows the properties.
#include "control/bar_code_control.h"

#include <initguid.h>
#include <msstkppg.h>

namespace quarent::barcode {
namespace {

constexpr PROPCAT kBarCodeCategory = 1;

}  // namespace

STDMETHODIMP BarCodeControl::GetPages(CAUUID* pages) {
  if (pages == nullptr) return E_POINTER;
  const GUID kPages[] = {CLSID_QRNBCPage, CLSID_StockFontPage, CLSID_StockColorPage};
  pages->cElems = 0;
  pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(kPages)));
  if (pages->pElems == nullptr) return E_OUTOFMEMORY;
  for (const GUID& page : kPages) pages->pElems[pages->cElems++] = page;
  return S_OK;
}

STDMETHODIMP BarCodeControl::MapPropertyToCategory(DISPID id, PROPCAT* category) {
  if (category == nullptr) return E_POINTER;
  if (id < 1000 || id > 1099) return E_FAIL;
  *category = kBarCodeCategory;
  return S_OK;
}

STDMETHODIMP BarCodeControl::GetCategoryName(PROPCAT category, LCID, BSTR* name) {
  if (name == nullptr) return E_POINTER;
  *name = nullptr;
  if (category != kBarCodeCategory) return E_FAIL;
  *name = SysAllocString(L"BarCode");
  return *name ? S_OK : E_OUTOFMEMORY;
}

}  // namespace quarent::barcode
