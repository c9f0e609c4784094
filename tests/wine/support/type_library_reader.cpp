#include "type_library_reader.h"

#include "com_client.h"
#include "processes.h"

namespace test {
namespace {

std::string TakeText(BSTR text) {
  const std::string narrow = text ? Narrow(text) : std::string();
  SysFreeString(text);
  return narrow;
}

}  // namespace

quarent::ComPtr<ITypeLib> EmbeddedTypeLibrary(const wchar_t* dll) {
  quarent::ComPtr<ITypeLib> library;
  LoadTypeLibEx(BesideProgram(dll).c_str(), REGKIND_NONE, library.Receive());
  return library;
}

quarent::ComPtr<ITypeInfo> TypeNamed(ITypeLib* library, TYPEKIND kind, const std::string& name) {
  quarent::ComPtr<ITypeInfo> info;
  for (UINT index = 0; index < library->GetTypeInfoCount() && !info; ++index) {
    TYPEKIND found = TKIND_MAX;
    BSTR typeName = nullptr;
    library->GetTypeInfoType(index, &found);
    library->GetDocumentation(static_cast<INT>(index), &typeName, nullptr, nullptr, nullptr);
    if (found == kind && TakeText(typeName) == name) library->GetTypeInfo(index, info.Receive());
  }
  return info;
}

std::string NameOf(ITypeInfo* info, MEMBERID member) {
  BSTR name = nullptr;
  info->GetDocumentation(member, &name, nullptr, nullptr, nullptr);
  return TakeText(name);
}

std::string HelpStringOf(ITypeInfo* info, MEMBERID member) {
  BSTR help = nullptr;
  info->GetDocumentation(member, nullptr, &help, nullptr, nullptr);
  return TakeText(help);
}

}  // namespace test
