#pragma once
// The in-process server module: what each component DLL declares about itself
// and the state the platform makes module-wide (instance handle, lock count).
#include <windows.h>
#include <objbase.h>

#include <string>

#include "common/array_view.h"
#include "common/class_registration.h"

namespace quarent {

// A class the module's class factory can create.
struct CreatableClass {
  const CLSID* classId;
  // Creates an instance, aggregated under `outer` when it is not null, and
  // returns its interface `iid`.
  HRESULT (*create)(IUnknown* outer, REFIID iid, void** object);
};

// What a component DLL tells the shared entry points.
struct ComponentDescription {
  ArrayView<CreatableClass> classes;
  ArrayView<ClassRegistration> registration;
};

// Defined exactly once by every component DLL.
const ComponentDescription& ThisComponent();

namespace module {

// Instance handle of this DLL.
HINSTANCE Instance();
// Called by DllMain only.
void SetInstance(HINSTANCE instance);
// Full path of this DLL.
std::wstring Path();
// Counts a live object or a LockServer(TRUE); the module stays loaded while any is left.
void Lock();
void Unlock();
// True when no object and no lock is left.
bool CanUnload();

}  // namespace module
}  // namespace quarent
