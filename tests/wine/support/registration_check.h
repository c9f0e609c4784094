#pragma once
// Checks of a component's registration against the description its DLL
// registers from.
#include <windows.h>

#include <string>

#include "common/class_registration.h"

namespace test {

// Every entry `classes` derive for the module at `modulePath` is in
// HKEY_CLASSES_ROOT with its data as REG_SZ (data holding the module's path
// compared without case), and the module's type library is registered there
// for the view's platform. `view` as for the registry reader (0: this
// process's own).
void ExpectRegistered(quarent::ArrayView<quarent::ClassRegistration> classes, const std::wstring& modulePath,
                      REGSAM view = 0);

// None of the keys `classes` own is left in the view, nor the module's type
// library for the view's platform.
void ExpectUnregistered(quarent::ArrayView<quarent::ClassRegistration> classes, const std::wstring& modulePath,
                        REGSAM view = 0);

}  // namespace test
