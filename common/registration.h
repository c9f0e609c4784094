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

}  // namespace quarent
