#include "com_client.h"

#include <cstdio>
#include <vector>

namespace test {

Text::Text(const std::string& ansi) {
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  text_ = SysAllocStringLen(nullptr, static_cast<UINT>(length));
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), text_, length);
}

std::string Hex(HRESULT status) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lX", static_cast<unsigned long>(status));
  return text;
}

VARIANT StringArgument(const wchar_t* text) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = SysAllocString(text);
  return value;
}

VARIANT LongArgument(long value) {
  VARIANT variant;
  VariantInit(&variant);
  variant.vt = VT_I4;
  variant.lVal = value;
  return variant;
}

VARIANT BoolArgument(bool value) {
  VARIANT variant;
  VariantInit(&variant);
  variant.vt = VT_BOOL;
  variant.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  return variant;
}

DispatchResult::DispatchResult() { VariantInit(&value); }

DispatchResult::~DispatchResult() {
  VariantClear(&value);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
}

void CallByName(IDispatch* object, const wchar_t* name, WORD flags, std::initializer_list<VARIANT> arguments,
                DispatchResult& result) {
  std::vector<VARIANT> reversed(arguments.begin(), arguments.end());
  std::vector<VARIANT> ordered(reversed.rbegin(), reversed.rend());
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  result.status = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (SUCCEEDED(result.status)) {
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters = {ordered.data(), nullptr, static_cast<UINT>(ordered.size()), 0};
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
      parameters.rgdispidNamedArgs = &named;
      parameters.cNamedArgs = 1;
    }
    VariantClear(&result.value);
    result.argumentError = ~0u;
    result.status = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, &result.value,
                                   &result.exception, &result.argumentError);
  }
  for (VARIANT& argument : ordered) VariantClear(&argument);
}

ErrorInfoText TakeErrorInfo() {
  ErrorInfoText text;
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) != S_OK || info == nullptr) return text;
  text.present = true;
  BSTR description = nullptr;
  BSTR source = nullptr;
  info->GetDescription(&description);
  info->GetSource(&source);
  info->GetGUID(&text.interfaceId);
  if (description) text.description = description;
  if (source) text.source = source;
  SysFreeString(description);
  SysFreeString(source);
  info->Release();
  return text;
}

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t character : text) narrow += character < 128 ? static_cast<char>(character) : '?';
  return narrow;
}

}  // namespace test
