#pragma once
// Self-registration: the registry script of a component and its type library.
#include "common/module.h"

namespace quarent {

// Removes the script's owned keys, writes its values (with "%MODULE%" replaced
// by this DLL's path) and registers the module's type library.
HRESULT RegisterComponent(const RegistrationScript& script);

// Removes the script's owned keys and unregisters the module's type library.
HRESULT UnregisterComponent(const RegistrationScript& script);

}  // namespace quarent
