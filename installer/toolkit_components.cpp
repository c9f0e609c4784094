#include "installer/toolkit_components.h"

#include <windows.h>

#include "brnlog_registration.h"
#include "qrnbc10_registration.h"
#include "qrnntsrv_registration.h"
#include "qrnshrmem_registration.h"

namespace quarent {
namespace {

const ToolkitComponent kComponents[] = {
    {L"BrnLog.dll", &RegistrationOfBrnLog},
    {L"QRNShrMem.dll", &RegistrationOfQRNShrMem},
    {L"QRNBC10.dll", &RegistrationOfQRNBC10},
    {L"QRNNTSrv.dll", &RegistrationOfQRNNTSrv},
};

}  // namespace

ArrayView<ToolkitComponent> ToolkitComponents() { return kComponents; }

const ToolkitComponent* FindToolkitComponent(const std::wstring& dllName) {
  for (const ToolkitComponent& component : kComponents) {
    if (lstrcmpiW(component.dllName, dllName.c_str()) == 0) return &component;
  }
  return nullptr;
}

}  // namespace quarent
