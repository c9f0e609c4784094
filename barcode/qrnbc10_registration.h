#pragma once
// How QRNBC10.dll's classes are registered.
#include "common/class_registration.h"

namespace quarent {

ArrayView<ClassRegistration> RegistrationOfQRNBC10();

}  // namespace quarent
