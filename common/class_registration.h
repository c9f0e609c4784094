#pragma once
// What a component writes to the registry for each of its classes, derived
// from one description per class. Self-registration, unregistration, the
// registry listing of the installer build and the tests all use these.
#include <windows.h>

#include <string>
#include <vector>

#include "common/array_view.h"

namespace quarent {

// A value under a class's key beyond the ones every class gets (a control's
// MiscStatus, Verb, ToolboxBitmap32, ...). `subkey` is relative to the class
// key ("" for the key itself); `name` null is the default value; `data` null
// makes the key without a value. "%MODULE%" in `data` stands for the module's
// full path.
struct ClassValue {
  const wchar_t* subkey;
  const wchar_t* name;
  const wchar_t* data;
};

// How one class is registered.
struct ClassRegistration {
  const CLSID* classId;
  // Default value of the class key and of both ProgID keys.
  const wchar_t* description;
  // Version-independent ProgID ("BrnLog.Log"), or null for a class without one;
  // the versioned ProgID is "<progId>.<progIdVersion>".
  const wchar_t* progId;
  int progIdVersion;
  // ThreadingModel of InprocServer32: "Apartment" or "Both".
  const wchar_t* threadingModel;
  // A class scripts can create: it gets the Programmable key and the TypeLib
  // key naming the module's type library.
  bool programmable;
  ArrayView<ClassValue> extraValues;
};

// One registry value under the classes root. `name` empty is the key's
// default value; `keyOnly` makes the key without any value.
struct RegistryEntry {
  std::wstring key;
  std::wstring name;
  std::wstring data;
  bool keyOnly = false;
};

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case, as the registry holds it.
std::wstring GuidText(REFGUID guid);

// The versioned ProgID ("BrnLog.Log.1"); empty for a class without a ProgID.
std::wstring VersionedProgId(const ClassRegistration& registration);

// "CLSID\{...}" of the class.
std::wstring ClassKey(const ClassRegistration& registration);

// Every value `registration` writes for a module at `modulePath` whose type
// library has the identifier `typeLibraryId` ("{...}"), parents before children.
std::vector<RegistryEntry> RegistryEntriesOf(const ClassRegistration& registration, const std::wstring& modulePath,
                                             const std::wstring& typeLibraryId);

// The keys the class owns, removed whole at unregistration and before
// registration: both ProgIDs and the class key.
std::vector<std::wstring> OwnedKeysOf(const ClassRegistration& registration);

}  // namespace quarent
