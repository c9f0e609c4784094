// BrnLog.dll: its class, as the registry shows it.
#include "brnlog_registration.h"

#include "BrnLog_h.h"

namespace quarent {
namespace {

const ClassRegistration kClasses[] = {
    {&CLSID_Log, L"Log Class", L"BrnLog.Log", 1, L"Apartment", true, {}},
};

}  // namespace

ArrayView<ClassRegistration> RegistrationOfBrnLog() { return kClasses; }

}  // namespace quarent
