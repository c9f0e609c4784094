#pragma once
// Checks of a component's registration against the description its DLL
// registers from.
#include <string>

#include "common/class_registration.h"

namespace test {

// Every entry `classes` derive for the module at `modulePath` is in
// HKEY_CLASSES_ROOT with its data as REG_SZ (the module's path compared
// without case), and the module's type library is registered there for this
// process's platform.
void ExpectRegistered(quarent::ArrayView<quarent::ClassRegistration> classes, const std::wstring& modulePath);

// None of the keys `classes` own is left, nor the module's type library.
void ExpectUnregistered(quarent::ArrayView<quarent::ClassRegistration> classes, const std::wstring& modulePath);

}  // namespace test
