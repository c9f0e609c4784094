#pragma once
// The toolkit's component DLLs with the descriptions of their classes, for the
// tools and tests that treat all four alike.
#include <string>

#include "common/class_registration.h"

namespace quarent {

struct ToolkitComponent {
  const wchar_t* dllName;  // "QRNShrMem.dll"
  ArrayView<ClassRegistration> (*registration)();
};

// The four components, in the order the README lists them.
ArrayView<ToolkitComponent> ToolkitComponents();

// The component whose DLL is `dllName` (case ignored), or null.
const ToolkitComponent* FindToolkitComponent(const std::wstring& dllName);

}  // namespace quarent
