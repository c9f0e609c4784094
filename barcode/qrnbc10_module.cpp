// QRNBC10.dll: the barcode control and its property page, and their registry script.
#include "QRNBC10_h.h"
#include "common/module.h"
#include "control/bar_code_control.h"
#include "page/property_page.h"

namespace quarent {
namespace {

const CreatableClass kClasses[] = {
    {&CLSID_QRNBarCode, &barcode::BarCodeControl::CreateInstance},
    {&CLSID_QRNBCPage, &barcode::PropertyPage::CreateInstance},
};

#define CONTROL_CLSID L"{4C9D157E-6A30-4E82-B5C7-0D2F81E6A9B3}"
#define CONTROL_KEY L"CLSID\\" CONTROL_CLSID
#define PAGE_KEY L"CLSID\\{8D14F265-2B7C-4A95-9E03-6C58B1D4F7A2}"

const wchar_t* const kOwnedKeys[] = {
    L"QUARENT.QRNBarCode.1",
    L"QUARENT.QRNBarCode",
    CONTROL_KEY,
    PAGE_KEY,
};

const RegistryValue kValues[] = {
    {L"QUARENT.QRNBarCode.1", nullptr, L"QUARENT Stellon Control"},
    {L"QUARENT.QRNBarCode.1\\CLSID", nullptr, CONTROL_CLSID},
    {L"QUARENT.QRNBarCode", nullptr, L"QUARENT Stellon Control"},
    {L"QUARENT.QRNBarCode\\CLSID", nullptr, CONTROL_CLSID},
    {L"QUARENT.QRNBarCode\\CurVer", nullptr, L"QUARENT.QRNBarCode.1"},
    {CONTROL_KEY, nullptr, L"QUARENT Stellon Control"},
    {CONTROL_KEY L"\\ProgID", nullptr, L"QUARENT.QRNBarCode.1"},
    {CONTROL_KEY L"\\VersionIndependentProgID", nullptr, L"QUARENT.QRNBarCode"},
    {CONTROL_KEY L"\\Programmable", nullptr, nullptr},
    {CONTROL_KEY L"\\Control", nullptr, nullptr},
    {CONTROL_KEY L"\\Insertable", nullptr, nullptr},
    {CONTROL_KEY L"\\InprocServer32", nullptr, L"%MODULE%"},
    {CONTROL_KEY L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
    {CONTROL_KEY L"\\ToolboxBitmap32", nullptr, L"%MODULE%, 101"},
    {CONTROL_KEY L"\\MiscStatus", nullptr, L"0"},
    {CONTROL_KEY L"\\MiscStatus\\1", nullptr, L"131473"},
    {CONTROL_KEY L"\\TypeLib", nullptr, L"{4C9D1582-6A30-4E82-B5C7-0D2F81E6A9B3}"},
    {CONTROL_KEY L"\\Version", nullptr, L"1.0"},
    {CONTROL_KEY L"\\Verb\\0", nullptr, L"&Properties, 0, 2"},
    {PAGE_KEY, nullptr, L"QRNBCPage Class"},
    {PAGE_KEY L"\\InprocServer32", nullptr, L"%MODULE%"},
    {PAGE_KEY L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
};

#undef PAGE_KEY
#undef CONTROL_KEY
#undef CONTROL_CLSID

const ComponentDescription kComponent = {kClasses, {kOwnedKeys, kValues}};

}  // namespace

const ComponentDescription& ThisComponent() { return kComponent; }

}  // namespace quarent
