#pragma once
// How BrnLog.dll's classes are registered.
#include "common/class_registration.h"

namespace quarent {

ArrayView<ClassRegistration> RegistrationOfBrnLog();

}  // namespace quarent
