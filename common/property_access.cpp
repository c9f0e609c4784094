#include "common/property_access.h"

namespace quarent {

HRESULT StringOut(const Bstr& text, BSTR* out) {
  if (out == nullptr) return E_POINTER;
  *out = SysAllocStringLen(text.Get(), text.Length());
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT NullableStringOut(const Bstr& text, BSTR* out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (text.Get() == nullptr) return S_OK;
  return StringOut(text, out);
}

HRESULT StringIn(BSTR text, Bstr& stored) {
  Bstr copy;
  if (text != nullptr) {
    copy = Bstr::Adopt(SysAllocStringLen(text, SysStringLen(text)));
    if (!copy.Get()) return E_OUTOFMEMORY;
  }
  stored = std::move(copy);
  return S_OK;
}

}  // namespace quarent
