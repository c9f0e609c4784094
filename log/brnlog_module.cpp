// BrnLog.dll: its one creatable class.
#include "BrnLog_h.h"
#include "common/module.h"
#include "brnlog_registration.h"
#include "log_object.h"

namespace quarent {
namespace {

const CreatableClass kClasses[] = {
    {&CLSID_Log, &brnlog::Log::CreateInstance},
};

const ComponentDescription kComponent = {kClasses, RegistrationOfBrnLog()};

}  // namespace

const ComponentDescription& ThisComponent() { return kComponent; }

}  // namespace quarent
