// QRNBC10.dll: the barcode control and its property page.
#include "QRNBC10_h.h"
#include "common/module.h"
#include "qrnbc10_registration.h"
#include "control/bar_code_control.h"
#include "page/property_page.h"

namespace quarent {
namespace {

const CreatableClass kClasses[] = {
    {&CLSID_QRNBarCode, &barcode::BarCodeControl::CreateInstance},
    {&CLSID_QRNBCPage, &barcode::PropertyPage::CreateInstance},
};

const ComponentDescription kComponent = {kClasses, RegistrationOfQRNBC10()};

}  // namespace

const ComponentDescription& ThisComponent() { return kComponent; }

}  // namespace quarent
