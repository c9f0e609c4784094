// The settings methods of QRNOrtivo: named string settings in sections below
// the service's registry key.
#include <new>
#include <vector>

#include "ortivo.h"
#include "resource.h"
#include "service_config_rules.h"
#include "settings_store.h"

namespace quarent::service {
namespace {

// The string a variant holds, directly or by reference (script clients pass
// their variables by reference); null when it holds no string.
const BSTR* StringIn(const VARIANT& value) {
  if (value.vt == VT_BSTR) return &value.bstrVal;
  if (value.vt == (VT_BSTR | VT_BYREF)) return value.pbstrVal;
  if (value.vt == (VT_VARIANT | VT_BYREF) && value.pvarVal != nullptr) return StringIn(*value.pvarVal);
  return nullptr;
}

// True for an omitted optional argument.
bool IsOmitted(const VARIANT& value) {
  if (value.vt == (VT_VARIANT | VT_BYREF) && value.pvarVal != nullptr) return IsOmitted(*value.pvarVal);
  return value.vt == VT_ERROR;
}

// A 2 x n array of strings: names in row 0, data in row 1.
HRESULT SettingsArray(const std::vector<NamedSetting>& settings, SAFEARRAY** array) {
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {static_cast<ULONG>(settings.size()), 0}};
  SafeArray created(SafeArrayCreate(VT_BSTR, 2, bounds));
  if (!created.Get()) return E_OUTOFMEMORY;
  for (size_t index = 0; index < settings.size(); ++index) {
    const std::string* texts[2] = {&settings[index].first, &settings[index].second};
    for (LONG row = 0; row < 2; ++row) {
      LONG indices[2] = {row, static_cast<LONG>(index)};
      Bstr text = Bstr::Adopt(AnsiToBstr(*texts[row]));
      if (!text.Get() || FAILED(SafeArrayPutElement(created.Get(), indices, text.Get()))) return E_OUTOFMEMORY;
    }
  }
  *array = created.Detach();
  return S_OK;
}

}  // namespace

std::string Ortivo::SectionPath(const std::string& section) const {
  return basePath_.empty() ? std::string() : SectionKeyPath(basePath_, section);
}

STDMETHODIMP Ortivo::SaveSetting(BSTR section, BSTR key, BSTR value) {
  try {
    const std::string sectionText = ToAnsi(section);
    if (!IsValidSection(sectionText)) return E_INVALIDARG;
    const std::string keyText = ToAnsi(key);
    if (!FitsNameLimit(keyText)) return E_INVALIDARG;
    const std::string valueText = ToAnsi(value);
    const std::string path = SectionPath(sectionText);
    if (path.empty()) return Fail(E_FAIL, IDS_ACCESS_DENIED);
    if (SaveSettingValue(path, keyText, valueText) != SettingsOutcome::kDone) return Fail(E_FAIL, IDS_ACCESS_DENIED);
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP Ortivo::GetSetting(BSTR section, BSTR key, VARIANT defaultValue, BSTR* result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  try {
    const std::string sectionText = ToAnsi(section);
    if (!IsValidSection(sectionText)) return E_INVALIDARG;
    const std::string keyText = ToAnsi(key);
    if (!FitsNameLimit(keyText)) return E_INVALIDARG;
    const std::string path = SectionPath(sectionText);
    std::string value;
    const SettingsOutcome read =
        path.empty() ? SettingsOutcome::kNotFound : ReadSettingValue(path, keyText, value);
    if (read == SettingsOutcome::kOutOfMemory) return E_OUTOFMEMORY;
    if (read == SettingsOutcome::kDone) {
      *result = AnsiToBstr(value);
    } else {
      const BSTR* fallback = StringIn(defaultValue);
      if (fallback == nullptr) return E_INVALIDARG;
      *result = SysAllocStringLen(*fallback, SysStringLen(*fallback));
    }
    return *result ? S_OK : E_OUTOFMEMORY;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP Ortivo::GetAllSettings(BSTR section, VARIANT* result) {
  if (result == nullptr) return E_POINTER;
  VariantInit(result);
  try {
    const std::string sectionText = ToAnsi(section);
    if (!IsValidSection(sectionText)) return E_INVALIDARG;
    const std::string path = SectionPath(sectionText);
    if (path.empty()) return Fail(E_FAIL, IDS_ACCESS_DENIED);
    std::vector<NamedSetting> settings;
    switch (ListSettings(path, settings)) {
      case SettingsOutcome::kDone:
        break;
      case SettingsOutcome::kOutOfMemory:
        return E_OUTOFMEMORY;
      default:
        return Fail(E_FAIL, IDS_ACCESS_DENIED);
    }
    SAFEARRAY* array = nullptr;
    const HRESULT status = SettingsArray(settings, &array);
    if (FAILED(status)) return status;
    result->vt = VT_ARRAY | VT_BSTR;
    result->parray = array;
    return S_OK;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP Ortivo::DeleteSetting(BSTR section, VARIANT key) {
  try {
    const std::string sectionText = ToAnsi(section);
    if (!IsValidSection(sectionText)) return E_INVALIDARG;
    if (basePath_.empty()) return Fail(E_FAIL, IDS_ACCESS_DENIED);
    SettingsOutcome deleted;
    if (IsOmitted(key)) {
      deleted = DeleteSection(basePath_, sectionText);
    } else if (const BSTR* keyText = StringIn(key)) {
      deleted = DeleteSettingKey(basePath_, sectionText, ToAnsi(*keyText));
    } else {
      // The service's key is looked for before the Key's type.
      return KeyOpens(basePath_) ? E_INVALIDARG : Fail(E_FAIL, IDS_ACCESS_DENIED);
    }
    return deleted == SettingsOutcome::kDone ? S_OK : Fail(E_FAIL, IDS_ACCESS_DENIED);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

}  // namespace quarent::service
