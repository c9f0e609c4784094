// QRNNTSrv.dll: its one creatable class.
#include "ortivo.h"

#include "QRNNTSrv_h.h"
#include "common/module.h"
#include "qrnntsrv_registration.h"

namespace quarent {
namespace {

const CreatableClass kClasses[] = {
    {&CLSID_QRNOrtivo, &service::Ortivo::CreateInstance},
};

const ComponentDescription kComponent = {kClasses, RegistrationOfQRNNTSrv()};

}  // namespace

const ComponentDescription& ThisComponent() { return kComponent; }

}  // namespace quarent
