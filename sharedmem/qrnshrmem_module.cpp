// QRNShrMem.dll: its one creatable class.
#include "QRNShrMem_h.h"
#include "common/module.h"
#include "qrnshrmem_registration.h"
#include "shared_memory.h"

namespace quarent {
namespace {

const CreatableClass kClasses[] = {
    {&CLSID_QRNSharedMemory, &sharedmem::SharedMemory::CreateInstance},
};

const ComponentDescription kComponent = {kClasses, RegistrationOfQRNShrMem()};

}  // namespace

const ComponentDescription& ThisComponent() { return kComponent; }

}  // namespace quarent
