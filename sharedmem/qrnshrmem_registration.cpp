// QRNShrMem.dll: its class, as the registry shows it.
#include "qrnshrmem_registration.h"

#include "QRNShrMem_h.h"

namespace quarent {
namespace {

const ClassRegistration kClasses[] = {
    {&CLSID_QRNSharedMemory, L"QUARENT SharedMemory Object", L"QUARENT.QRNSharedMemory", 1, L"Both", true, {}},
};

}  // namespace

ArrayView<ClassRegistration> RegistrationOfQRNShrMem() { return kClasses; }

}  // namespace quarent
