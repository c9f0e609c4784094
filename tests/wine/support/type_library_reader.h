#pragma once
// Reading type libraries back as object browsers do: the library a DLL carries,
// its types by name and their documentation.
#include <windows.h>
#include <oaidl.h>

#include <functional>
#include <string>
#include <vector>

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

// A type as the IDL spells it: "long", "VARIANT_BOOL", "BSTR*", and the name
// of a user-defined type ("OLE_COLOR", "Constants_Status"); "vt<number>" for
// a type not listed here.
std::string TypeSpelling(ITypeInfo* info, const TYPEDESC& type);

using TypeSpeller = std::function<std::string(ITypeInfo*, const TYPEDESC&)>;

struct ParameterInfo {
  std::string type;
  USHORT flags = 0;  // PARAMFLAG_*
  std::string name;  // empty where the library names none
  bool hasDefault = false;
  long defaultValue = 0;  // as a long, where hasDefault
};

struct FunctionInfo {
  MEMBERID id = 0;
  INVOKEKIND kind = INVOKE_FUNC;
  SHORT vtableOffset = 0;
  std::string name;
  std::vector<ParameterInfo> parameters;
  std::string help;
  DWORD helpContext = 0;
};

// Every function of `info` in the order the library lists them, with the
// parameter types spelt by `spell`.
std::vector<FunctionInfo> FunctionsOf(ITypeInfo* info, const TypeSpeller& spell = TypeSpelling);

struct ConstantInfo {
  std::string name;
  long value = 0;
  std::string help;
};

// The members of enumeration `info` in their order.
std::vector<ConstantInfo> ConstantsOf(ITypeInfo* info);

}  // namespace test
