#pragma once
// The in-process server module: what each component DLL declares about itself
// and the state the platform makes module-wide (instance handle, lock count).
#include <windows.h>
#include <objbase.h>

#include <cstddef>
#include <string>

namespace quarent {

// Read-only view of a constant array, for the tables components declare.
template <class T>
struct ArrayView {
  const T* items = nullptr;
  size_t count = 0;

  ArrayView() = default;
  template <size_t N>
  constexpr ArrayView(const T (&array)[N]) : items(array), count(N) {}
  const T* begin() const { return items; }
  const T* end() const { return items + count; }
};

// One registry value written at registration, under HKEY_CLASSES_ROOT.
// `name` null writes the key's default value; `data` null creates the key only.
// "%MODULE%" in `data` is replaced by the module's full path.
struct RegistryValue {
  const wchar_t* key;
  const wchar_t* name;
  const wchar_t* data;
};

// Everything DllRegisterServer writes and DllUnregisterServer removes.
struct RegistrationScript {
  // Keys under HKEY_CLASSES_ROOT removed whole before registering and at unregistering.
  ArrayView<const wchar_t*> ownedKeys;
  ArrayView<RegistryValue> values;
};

// A class the module's class factory can create.
struct CreatableClass {
  const CLSID* classId;
  // Creates an instance, aggregated under `outer` when it is not null, and
  // returns its interface `iid`.
  HRESULT (*create)(IUnknown* outer, REFIID iid, void** object);
};

// What a component DLL tells the shared entry points.
struct ComponentDescription {
  ArrayView<CreatableClass> classes;
  RegistrationScript registration;
};

// Defined exactly once by every component DLL.
const ComponentDescription& ThisComponent();

namespace module {

// Instance handle of this DLL.
HINSTANCE Instance();
// Called by DllMain only.
void SetInstance(HINSTANCE instance);
// Full path of this DLL.
std::wstring Path();
// Counts a live object or a LockServer(TRUE); the module stays loaded while any is left.
void Lock();
void Unlock();
// True when no object and no lock is left.
bool CanUnload();

}  // namespace module
}  // namespace quarent
