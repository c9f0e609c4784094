#pragma once
// Self-registration: the registry entries of a component's classes and its
// type library.
#include "common/class_registration.h"

namespace quarent {

// Removes the classes' owned keys, writes their entries for this DLL and
// registers the module's type library.
HRESULT RegisterComponent(ArrayView<ClassRegistration> classes);

// Removes the classes' owned keys and unregisters the module's type library.
HRESULT UnregisterComponent(ArrayView<ClassRegistration> classes);

// The same entries and type library registration for the calling user only,
// under HKEY_CURRENT_USER\Software\Classes; nothing is written elsewhere.
HRESULT RegisterComponentForUser(ArrayView<ClassRegistration> classes);

// Removes what RegisterComponentForUser wrote.
HRESULT UnregisterComponentForUser(ArrayView<ClassRegistration> classes);

}  // namespace quarent
