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

std::string TypeSpelling(ITypeInfo* info, const TYPEDESC& type) {
  struct Spelling {
    VARTYPE type;
    const char* text;
  };
  static const Spelling kSpellings[] = {
      {VT_I2, "short"},        {VT_I4, "long"},       {VT_BSTR, "BSTR"}, {VT_VARIANT, "VARIANT"},
      {VT_BOOL, "VARIANT_BOOL"}, {VT_HRESULT, "HRESULT"}, {VT_VOID, "void"},
  };
  if (type.vt == VT_PTR) return TypeSpelling(info, *type.lptdesc) + "*";
  if (type.vt == VT_USERDEFINED) {
    quarent::ComPtr<ITypeInfo> referenced;
    if (FAILED(info->GetRefTypeInfo(type.hreftype, referenced.Receive()))) return "?";
    return NameOf(referenced.Get(), MEMBERID_NIL);
  }
  for (const Spelling& spelling : kSpellings) {
    if (spelling.type == type.vt) return spelling.text;
  }
  return "vt" + std::to_string(type.vt);
}

std::vector<FunctionInfo> FunctionsOf(ITypeInfo* info, const TypeSpeller& spell) {
  std::vector<FunctionInfo> functions;
  TYPEATTR* attributes = nullptr;
  if (FAILED(info->GetTypeAttr(&attributes))) return functions;
  const WORD count = attributes->cFuncs;
  info->ReleaseTypeAttr(attributes);
  for (UINT index = 0; index < count; ++index) {
    FUNCDESC* description = nullptr;
    if (FAILED(info->GetFuncDesc(index, &description))) continue;
    FunctionInfo function;
    function.id = description->memid;
    function.kind = description->invkind;
    function.vtableOffset = description->oVft;
    BSTR names[32] = {};
    UINT nameCount = 0;
    info->GetNames(description->memid, names, 32, &nameCount);
    std::vector<std::string> texts;
    for (UINT name = 0; name < nameCount; ++name) texts.push_back(TakeText(names[name]));
    if (!texts.empty()) function.name = texts[0];
    for (SHORT at = 0; at < description->cParams; ++at) {
      const ELEMDESC& element = description->lprgelemdescParam[at];
      ParameterInfo parameter;
      parameter.type = spell(info, element.tdesc);
      parameter.flags = element.paramdesc.wParamFlags;
      if (static_cast<size_t>(at) + 1 < texts.size()) parameter.name = texts[at + 1];
      if ((parameter.flags & PARAMFLAG_FHASDEFAULT) && element.paramdesc.pparamdescex) {
        VARIANT value;
        VariantInit(&value);
        parameter.hasDefault =
            SUCCEEDED(VariantChangeType(&value, &element.paramdesc.pparamdescex->varDefaultValue, 0, VT_I4));
        if (parameter.hasDefault) parameter.defaultValue = value.lVal;
      }
      function.parameters.push_back(std::move(parameter));
    }
    BSTR help = nullptr;
    info->GetDocumentation(description->memid, nullptr, &help, &function.helpContext, nullptr);
    function.help = TakeText(help);
    info->ReleaseFuncDesc(description);
    functions.push_back(std::move(function));
  }
  return functions;
}

std::vector<ConstantInfo> ConstantsOf(ITypeInfo* info) {
  std::vector<ConstantInfo> constants;
  TYPEATTR* attributes = nullptr;
  if (FAILED(info->GetTypeAttr(&attributes))) return constants;
  const WORD count = attributes->cVars;
  info->ReleaseTypeAttr(attributes);
  for (UINT index = 0; index < count; ++index) {
    VARDESC* variable = nullptr;
    if (FAILED(info->GetVarDesc(index, &variable))) continue;
    ConstantInfo constant;
    constant.name = NameOf(info, variable->memid);
    constant.help = HelpStringOf(info, variable->memid);
    VARIANT value;
    VariantInit(&value);
    if (variable->lpvarValue && SUCCEEDED(VariantChangeType(&value, variable->lpvarValue, 0, VT_I4))) {
      constant.value = V_I4(&value);
    }
    info->ReleaseVarDesc(variable);
    constants.push_back(std::move(constant));
  }
  return constants;
}

}  // namespace test
