#pragma once
// A seam into a loaded DLL: replaces one entry of its import address table, so
// a test sees (and may answer) the DLL's calls to a system function while the
// DLL itself stays as shipped.
#include <windows.h>

namespace test {

class ImportHook {
 public:
  // Points `module`'s import of `function` from `dll` (case-insensitive) at
  // `replacement`. Installed() is false when the module does not import it.
  ImportHook(HMODULE module, const char* dll, const char* function, void* replacement);
  // Puts the original address back.
  ~ImportHook();
  ImportHook(const ImportHook&) = delete;
  ImportHook& operator=(const ImportHook&) = delete;

  bool Installed() const { return slot_ != nullptr; }
  // The function the module called before the hook.
  void* Original() const { return original_; }

 private:
  void** slot_ = nullptr;
  void* original_ = nullptr;
};

}  // namespace test
