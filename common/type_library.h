#pragma once
// The type library embedded in this module as TYPELIB resource 1, loaded once
// and shared by the dispatch, class-information and registration code.
#include <windows.h>
#include <oaidl.h>

namespace quarent {

// Returns (with a new reference) the module's type library.
HRESULT GetModuleTypeLibrary(ITypeLib** library);

// Returns (with a new reference) the type information of `guid` in the
// module's type library; cached after the first call.
HRESULT GetModuleTypeInfo(REFGUID guid, ITypeInfo** info);

// Drops the cached type library and type information (module unload).
void ReleaseModuleTypeLibrary();

}  // namespace quarent
