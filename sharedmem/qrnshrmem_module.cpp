// QRNShrMem.dll: its one creatable class and its registry script.
#include "QRNShrMem_h.h"
#include "common/module.h"
#include "shared_memory.h"

namespace quarent {
namespace {

const CreatableClass kClasses[] = {
    {&CLSID_QRNSharedMemory, &sharedmem::SharedMemory::CreateInstance},
};

const wchar_t* const kOwnedKeys[] = {
    L"QUARENT.QRNSharedMemory.1",
    L"QUARENT.QRNSharedMemory",
    L"CLSID\\{2A7F93D0-5E18-4B6D-A04C-9F3E6D21B857}",
};

#define CLASS_KEY L"CLSID\\{2A7F93D0-5E18-4B6D-A04C-9F3E6D21B857}"
const RegistryValue kValues[] = {
    {L"QUARENT.QRNSharedMemory.1", nullptr, L"QUARENT SharedMemory Object"},
    {L"QUARENT.QRNSharedMemory.1\\CLSID", nullptr, L"{2A7F93D0-5E18-4B6D-A04C-9F3E6D21B857}"},
    {L"QUARENT.QRNSharedMemory", nullptr, L"QUARENT SharedMemory Object"},
    {L"QUARENT.QRNSharedMemory\\CLSID", nullptr, L"{2A7F93D0-5E18-4B6D-A04C-9F3E6D21B857}"},
    {L"QUARENT.QRNSharedMemory\\CurVer", nullptr, L"QUARENT.QRNSharedMemory.1"},
    {CLASS_KEY, nullptr, L"QUARENT SharedMemory Object"},
    {CLASS_KEY L"\\ProgID", nullptr, L"QUARENT.QRNSharedMemory.1"},
    {CLASS_KEY L"\\VersionIndependentProgID", nullptr, L"QUARENT.QRNSharedMemory"},
    {CLASS_KEY L"\\Programmable", nullptr, nullptr},
    {CLASS_KEY L"\\InprocServer32", nullptr, L"%MODULE%"},
    {CLASS_KEY L"\\InprocServer32", L"ThreadingModel", L"Both"},
    {CLASS_KEY L"\\TypeLib", nullptr, L"{2A7F93C3-5E18-4B6D-A04C-9F3E6D21B857}"},
};
#undef CLASS_KEY

const ComponentDescription kComponent = {kClasses, {kOwnedKeys, kValues}};

}  // namespace

const ComponentDescription& ThisComponent() { return kComponent; }

}  // namespace quarent
