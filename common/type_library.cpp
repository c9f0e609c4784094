#include "common/type_library.h"

#include <windows.h>

#include <new>
#include <vector>

#include "common/com_ptr.h"
#include "common/module.h"
#include "common/win_handles.h"

namespace quarent {
namespace {

struct CachedTypeInfo {
  GUID guid;
  ITypeInfo* info;
};

// Shared by every object of the module and every thread: the type library is
// immutable once loaded, so one copy serves them all. The references are
// dropped by Release (at FreeLibrary), never by a destructor: at process exit
// the automation runtime may already be gone.
class TypeLibraryCache {
 public:
  HRESULT Library(ITypeLib** library) {
    CriticalSectionLock hold(lock_);
    if (library_ == nullptr) {
      const HRESULT status = LoadTypeLibEx(module::Path().c_str(), REGKIND_NONE, &library_);
      if (FAILED(status)) return status;
    }
    *library = library_;
    (*library)->AddRef();
    return S_OK;
  }

  HRESULT Info(REFGUID guid, ITypeInfo** info) {
    CriticalSectionLock hold(lock_);
    for (const CachedTypeInfo& cached : infos_) {
      if (IsEqualGUID(cached.guid, guid)) {
        *info = cached.info;
        (*info)->AddRef();
        return S_OK;
      }
    }
    ComPtr<ITypeLib> library;
    HRESULT status = Library(library.Receive());
    if (FAILED(status)) return status;
    ComPtr<ITypeInfo> found;
    status = library->GetTypeInfoOfGuid(guid, found.Receive());
    if (FAILED(status)) return status;
    try {
      infos_.push_back({guid, found.Get()});
    } catch (const std::bad_alloc&) {
      return E_OUTOFMEMORY;
    }
    found->AddRef();
    *info = found.Detach();
    return S_OK;
  }

  void Release() {
    CriticalSectionLock hold(lock_);
    for (CachedTypeInfo& cached : infos_) cached.info->Release();
    infos_.clear();
    if (library_ != nullptr) library_->Release();
    library_ = nullptr;
  }

 private:
  CriticalSection lock_;
  ITypeLib* library_ = nullptr;
  std::vector<CachedTypeInfo> infos_;
};

TypeLibraryCache& Cache() {
  static TypeLibraryCache cache;
  return cache;
}

}  // namespace

HRESULT GetModuleTypeLibrary(ITypeLib** library) {
  if (library == nullptr) return E_POINTER;
  *library = nullptr;
  return Cache().Library(library);
}

HRESULT GetModuleTypeInfo(REFGUID guid, ITypeInfo** info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  return Cache().Info(guid, info);
}

void ReleaseModuleTypeLibrary() { Cache().Release(); }

}  // namespace quarent
