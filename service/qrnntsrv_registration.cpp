// QRNNTSrv.dll: its class, as the registry shows it.
#include "qrnntsrv_registration.h"

#include "QRNNTSrv_h.h"

namespace quarent {
namespace {

const ClassRegistration kClasses[] = {
    {&CLSID_QRNOrtivo, L"QUARENT Ortivo Object", L"QUARENT.QRNOrtivo", 1, L"Apartment", true, {}},
};

}  // namespace

ArrayView<ClassRegistration> RegistrationOfQRNNTSrv() { return kClasses; }

}  // namespace quarent
