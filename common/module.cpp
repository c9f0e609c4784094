#include "common/module.h"

#include "common/type_library.h"

namespace quarent::module {
namespace {

// The platform gives a DLL its instance handle and expects it to count its own
// objects; both are module-wide by nature.
HINSTANCE moduleInstance = nullptr;
LONG lockCount = 0;

}  // namespace

void SetInstance(HINSTANCE instance) { moduleInstance = instance; }
HINSTANCE Instance() { return moduleInstance; }

std::wstring Path() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(moduleInstance, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void Lock() { InterlockedIncrement(&lockCount); }
void Unlock() { InterlockedDecrement(&lockCount); }
bool CanUnload() { return lockCount == 0; }

}  // namespace quarent::module
