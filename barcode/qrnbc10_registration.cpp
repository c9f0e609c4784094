// QRNBC10.dll: the barcode control and its property page, as the registry shows them.
#include "qrnbc10_registration.h"

#include "QRNBC10_h.h"

namespace quarent {
namespace {

// What a container reads of the control: it is an insertable ActiveX control
// with a toolbox picture, its OLEMISC status bits and one verb.
const ClassValue kControlValues[] = {
    {L"Control", nullptr, nullptr},
    {L"Insertable", nullptr, nullptr},
    {L"ToolboxBitmap32", nullptr, L"%MODULE%, 101"},
    {L"MiscStatus", nullptr, L"0"},
    {L"MiscStatus\\1", nullptr, L"131473"},
    {L"Version", nullptr, L"1.0"},
    {L"Verb\\0", nullptr, L"&Properties, 0, 2"},
};

const ClassRegistration kClasses[] = {
    {&CLSID_QRNBarCode, L"QUARENT Stellon Control", L"QUARENT.QRNBarCode", 1, L"Apartment", true,
     kControlValues},
    {&CLSID_QRNBCPage, L"QRNBCPage Class", nullptr, 0, L"Apartment", false, {}},
};

}  // namespace

ArrayView<ClassRegistration> RegistrationOfQRNBC10() { return kClasses; }

}  // namespace quarent
