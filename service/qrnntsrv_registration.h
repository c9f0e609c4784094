#pragma once
// How QRNNTSrv.dll's classes are registered.
#include "common/class_registration.h"

namespace quarent {

ArrayView<ClassRegistration> RegistrationOfQRNNTSrv();

}  // namespace quarent
