// BrnLog.dll: its one creatable class and its registry script.
#include "BrnLog_h.h"
#include "common/module.h"
#include "log_object.h"

namespace quarent {
namespace {

const CreatableClass kClasses[] = {
    {&CLSID_Log, &brnlog::Log::CreateInstance},
};

#define CLASS_KEY L"CLSID\\{6E21C410-3D8A-4F51-A7B2-1C9E5D0F2A84}"
const wchar_t* const kOwnedKeys[] = {
    L"BrnLog.Log.1",
    L"BrnLog.Log",
    CLASS_KEY,
};

const RegistryValue kValues[] = {
    {L"BrnLog.Log.1", nullptr, L"Log Class"},
    {L"BrnLog.Log.1\\CLSID", nullptr, L"{6E21C410-3D8A-4F51-A7B2-1C9E5D0F2A84}"},
    {L"BrnLog.Log", nullptr, L"Log Class"},
    {L"BrnLog.Log\\CLSID", nullptr, L"{6E21C410-3D8A-4F51-A7B2-1C9E5D0F2A84}"},
    {L"BrnLog.Log\\CurVer", nullptr, L"BrnLog.Log.1"},
    {CLASS_KEY, nullptr, L"Log Class"},
    {CLASS_KEY L"\\ProgID", nullptr, L"BrnLog.Log.1"},
    {CLASS_KEY L"\\VersionIndependentProgID", nullptr, L"BrnLog.Log"},
    {CLASS_KEY L"\\Programmable", nullptr, nullptr},
    {CLASS_KEY L"\\InprocServer32", nullptr, L"%MODULE%"},
    {CLASS_KEY L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
    {CLASS_KEY L"\\TypeLib", nullptr, L"{6E21C403-3D8A-4F51-A7B2-1C9E5D0F2A84}"},
};
#undef CLASS_KEY

const ComponentDescription kComponent = {kClasses, {kOwnedKeys, kValues}};

}  // namespace

const ComponentDescription& ThisComponent() { return kComponent; }

}  // namespace quarent
