#pragma once
// IDispatch of a dual interface, answered from the module's type library:
// names, identifiers and argument coercion all come from its description of
// `Interface`, and Invoke calls the interface's own vtable entries.
#include <windows.h>
#include <oaidl.h>

#include "common/com_ptr.h"
#include "common/type_library.h"

namespace quarent {

template <class Interface>
class DualInterface : public Interface {
 public:
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count == nullptr) return E_POINTER;
    *count = 1;
    return S_OK;
  }

  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
    if (info == nullptr) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return GetModuleTypeInfo(__uuidof(Interface), info);
  }

  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    ComPtr<ITypeInfo> info;
    const HRESULT status = GetModuleTypeInfo(__uuidof(Interface), info.Receive());
    if (FAILED(status)) return status;
    return info->GetIDsOfNames(names, count, ids);
  }

  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                      EXCEPINFO* exception, UINT* argumentError) override {
    if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
    ComPtr<ITypeInfo> info;
    const HRESULT status = GetModuleTypeInfo(__uuidof(Interface), info.Receive());
    if (FAILED(status)) return status;
    return info->Invoke(static_cast<Interface*>(this), id, flags, parameters, result, exception, argumentError);
  }
};

// IProvideClassInfo2 from the module's type library: the coclass `CoClass`
// and its default source interface `Events`.
template <class CoClass, class Events>
class ProvideClassInfoFor : public IProvideClassInfo2 {
 public:
  STDMETHODIMP GetClassInfo(ITypeInfo** info) override {
    return GetModuleTypeInfo(__uuidof(CoClass), info);
  }

  STDMETHODIMP GetGUID(DWORD kind, GUID* guid) override {
    if (guid == nullptr) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
      *guid = GUID_NULL;
      return E_INVALIDARG;
    }
    *guid = __uuidof(Events);
    return S_OK;
  }
};

}  // namespace quarent
