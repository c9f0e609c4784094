// QRNNTSrv.dll: its one creatable class and its registry script.
#include "ortivo.h"

#include "QRNNTSrv_h.h"
#include "common/module.h"

namespace quarent {
namespace {

const CreatableClass kClasses[] = {
    {&CLSID_QRNOrtivo, &service::Ortivo::CreateInstance},
};

#define CLASS_KEY L"CLSID\\{3F58A7EE-9C24-4D0B-8E61-52B7D9A0C3F4}"
const wchar_t* const kOwnedKeys[] = {
    L"QUARENT.QRNOrtivo.1",
    L"QUARENT.QRNOrtivo",
    CLASS_KEY,
};

const RegistryValue kValues[] = {
    {L"QUARENT.QRNOrtivo.1", nullptr, L"QUARENT Ortivo Object"},
    {L"QUARENT.QRNOrtivo.1\\CLSID", nullptr, L"{3F58A7EE-9C24-4D0B-8E61-52B7D9A0C3F4}"},
    {L"QUARENT.QRNOrtivo", nullptr, L"QUARENT Ortivo Object"},
    {L"QUARENT.QRNOrtivo\\CLSID", nullptr, L"{3F58A7EE-9C24-4D0B-8E61-52B7D9A0C3F4}"},
    {L"QUARENT.QRNOrtivo\\CurVer", nullptr, L"QUARENT.QRNOrtivo.1"},
    {CLASS_KEY, nullptr, L"QUARENT Ortivo Object"},
    {CLASS_KEY L"\\ProgID", nullptr, L"QUARENT.QRNOrtivo.1"},
    {CLASS_KEY L"\\VersionIndependentProgID", nullptr, L"QUARENT.QRNOrtivo"},
    {CLASS_KEY L"\\Programmable", nullptr, nullptr},
    {CLASS_KEY L"\\InprocServer32", nullptr, L"%MODULE%"},
    {CLASS_KEY L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
    {CLASS_KEY L"\\TypeLib", nullptr, L"{3F58A7E1-9C24-4D0B-8E61-52B7D9A0C3F4}"},
};
#undef CLASS_KEY

const ComponentDescription kComponent = {kClasses, {kOwnedKeys, kValues}};

}  // namespace

const ComponentDescription& ThisComponent() { return kComponent; }

}  // namespace quarent
