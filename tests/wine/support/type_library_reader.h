#pragma once
// Reading type libraries back as object browsers do: the library a DLL carries,
// its types by name and their documentation.
#include <windows.h>
#include <oaidl.h>

#include <string>

#include "common/com_ptr.h"

namespace test {

// The type library embedded in `dll` (beside this program), loaded without
// registering it; empty when it cannot be loaded.
quarent::ComPtr<ITypeLib> EmbeddedTypeLibrary(const wchar_t* dll);

// The type of kind `kind` named `name` in `library`; empty when there is none.
quarent::ComPtr<ITypeInfo> TypeNamed(ITypeLib* library, TYPEKIND kind, const std::string& name);

// Name and help string of `member` of `info` (MEMBERID_NIL: of the type itself);
// empty where there is none.
std::string NameOf(ITypeInfo* info, MEMBERID member);
std::string HelpStringOf(ITypeInfo* info, MEMBERID member);

}  // namespace test
