#pragma once
// How QRNShrMem.dll's classes are registered.
#include "common/class_registration.h"

namespace quarent {

ArrayView<ClassRegistration> RegistrationOfQRNShrMem();

}  // namespace quarent
