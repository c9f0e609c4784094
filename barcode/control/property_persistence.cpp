#include "control/property_persistence.h"

#include <olectl.h>

#include <string>

#include "common/automation_types.h"
#include "QRNBC10_h.h"
#include "common/com_ptr.h"
#include "model/property_stream.h"

namespace quarent::barcode {
namespace {

using barcode::PersistedProperty;
using barcode::ValueType;

constexpr DISPID kTextPrefixId = 1002;
constexpr DISPID kTextSuffixId = 1003;

// IStream as the portable reader's byte source.
class StreamSource : public barcode::ByteSource {
 public:
  explicit StreamSource(IStream* stream) : stream_(stream) {}
  bool Read(void* buffer, std::size_t size) override {
    ULONG read = 0;
    const HRESULT status = stream_->Read(buffer, static_cast<ULONG>(size), &read);
    return SUCCEEDED(status) && read == size;
  }

 private:
  IStream* stream_;
};

// IStream as the portable writer's byte sink.
class StreamSink : public barcode::ByteSink {
 public:
  explicit StreamSink(IStream* stream) : stream_(stream) {}
  bool Write(const void* buffer, std::size_t size) override {
    ULONG written = 0;
    const HRESULT status = stream_->Write(buffer, static_cast<ULONG>(size), &written);
    return SUCCEEDED(status) && written == size;
  }

 private:
  IStream* stream_;
};

VARTYPE VariantTypeOf(ValueType type) {
  switch (type) {
    case ValueType::Int32: return VT_I4;
    case ValueType::String: return VT_BSTR;
    case ValueType::Object: return VT_DISPATCH;
    case ValueType::Boolean: return VT_BOOL;
    case ValueType::UInt32: return VT_UI4;
  }
  return VT_EMPTY;
}

std::wstring WideName(std::string_view name) { return std::wstring(name.begin(), name.end()); }

// Empties `value` and gives it `type`, its payload zeroed, ready to be filled by a callee.
void MakeTypedEmpty(VARIANT* value, VARTYPE type) {
  VariantClear(value);
  ZeroMemory(value, sizeof(*value));
  value->vt = type;
}

// The status a failed Invoke stands for: the member's own status when it raised one.
HRESULT InvokeStatus(HRESULT status, EXCEPINFO& exception) {
  if (status == DISP_E_EXCEPTION) {
    if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    if (FAILED(exception.scode)) status = exception.scode;
  }
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);
  return status;
}

HRESULT GetProperty(IDispatch* control, DISPID id, VARIANT* value) {
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  EXCEPINFO exception = {};
  const HRESULT status =
      control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, value, &exception, nullptr);
  return InvokeStatus(status, exception);
}

HRESULT PutProperty(IDispatch* control, DISPID id, VARIANT* value) {
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS parameters = {value, &named, 1, 1};
  EXCEPINFO exception = {};
  const WORD flags = value->vt == VT_DISPATCH ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
  const HRESULT status =
      control->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, nullptr, &exception, nullptr);
  return InvokeStatus(status, exception);
}

// A string property read through the control's own interface: the platform's dispatch may
// hand a null string back as an empty one, and the stream tells the two apart.
HRESULT GetStringProperty(IDispatch* control, DISPID id, VARIANT* value) {
  ComPtr<IQRNBarCode> barCode;
  HRESULT status = control->QueryInterface(IID_IQRNBarCode, barCode.ReceiveVoid());
  if (FAILED(status)) return status;
  BSTR text = nullptr;
  switch (id) {
    case DISPID_CAPTION: status = barCode->get_Caption(&text); break;
    case kTextPrefixId: status = barCode->get_TextPrefix(&text); break;
    case kTextSuffixId: status = barCode->get_TextSuffix(&text); break;
    default: return GetProperty(control, id, value);
  }
  if (FAILED(status)) return status;
  value->vt = VT_BSTR;
  value->bstrVal = text;
  return S_OK;
}

// The property's current value converted to the type it is persisted as.
HRESULT GetPersistedValue(IDispatch* control, const PersistedProperty& property, VARIANT* value) {
  HRESULT status = property.type == ValueType::String ? GetStringProperty(control, property.dispid, value)
                                                      : GetProperty(control, property.dispid, value);
  if (FAILED(status)) return status;
  if (property.type == ValueType::Object) {
    if (value->vt == VT_UNKNOWN || value->vt == VT_EMPTY) status = VariantChangeType(value, value, 0, VT_DISPATCH);
    return value->vt == VT_DISPATCH ? status : DISP_E_TYPEMISMATCH;
  }
  const VARTYPE wanted = VariantTypeOf(property.type);
  if (value->vt == wanted) return S_OK;  // a conversion would turn a null string into an empty one
  // A colour naming a system colour is negative as a signed number: keep its bits.
  if (property.type == ValueType::UInt32 && value->vt == VT_I4) {
    value->vt = VT_UI4;
    return S_OK;
  }
  return VariantChangeType(value, value, 0, wanted);
}

HRESULT SaveFont(IStream* stream, IDispatch* font) {
  if (font == nullptr) return WriteClassStm(stream, CLSID_NULL);
  ComPtr<IPersistStream> persist;
  HRESULT status = font->QueryInterface(IID_IPersistStream, persist.ReceiveVoid());
  if (FAILED(status)) return status;
  return OleSaveToStream(persist.Get(), stream);
}

// The font object at the stream's position: only the standard font class is created, so a
// stream cannot make the control instantiate any other registered class.
HRESULT LoadFont(IStream* stream, ComPtr<IDispatch>* font) {
  CLSID classId;
  HRESULT status = ReadClassStm(stream, &classId);
  if (FAILED(status)) return status;
  if (IsEqualCLSID(classId, CLSID_NULL)) return S_OK;
  if (!IsEqualCLSID(classId, CLSID_StdFont)) return E_FAIL;
  ComPtr<IPersistStream> persist;
  status = CoCreateInstance(CLSID_StdFont, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistStream, persist.ReceiveVoid());
  if (FAILED(status)) return status;
  status = persist->Load(stream);
  if (FAILED(status)) return status;
  *font = persist.As<IDispatch>();
  return *font ? S_OK : E_NOINTERFACE;
}

HRESULT WriteValue(IStream* stream, barcode::ByteSink& sink, const PersistedProperty& property, VARIANT& value) {
  switch (property.type) {
    case ValueType::Object:
      if (!barcode::WriteTypeTag(sink, ValueType::Object)) return STG_E_WRITEFAULT;
      return SaveFont(stream, value.pdispVal);
    case ValueType::String:
      return barcode::WriteStringValue(sink, reinterpret_cast<const char16_t*>(value.bstrVal),
                                         SysStringLen(value.bstrVal), value.bstrVal == nullptr)
                 ? S_OK
                 : STG_E_WRITEFAULT;
    case ValueType::Boolean:
      return barcode::WriteNumberValue(sink, property.type, static_cast<std::uint16_t>(value.boolVal))
                 ? S_OK
                 : STG_E_WRITEFAULT;
    case ValueType::Int32:
    case ValueType::UInt32:
      return barcode::WriteNumberValue(sink, property.type, value.ulVal) ? S_OK : STG_E_WRITEFAULT;
  }
  return E_UNEXPECTED;
}

// Reads the value of `property` into `value`; S_FALSE when there is nothing to assign.
HRESULT ReadValue(IStream* stream, barcode::ByteSource& source, const PersistedProperty& property, VARIANT* value) {
  switch (property.type) {
    case ValueType::Object: {
      if (!barcode::ReadTypeTag(source, ValueType::Object)) return E_FAIL;
      ComPtr<IDispatch> font;
      const HRESULT status = LoadFont(stream, &font);
      if (FAILED(status)) return status;
      if (!font) return S_FALSE;
      value->vt = VT_DISPATCH;
      value->pdispVal = font.Detach();
      return S_OK;
    }
    case ValueType::String: {
      const std::optional<barcode::StringValue> text = barcode::ReadStringValue(source);
      if (!text) return E_FAIL;
      value->vt = VT_BSTR;
      value->bstrVal = nullptr;
      if (text->isNull) return S_OK;
      value->bstrVal = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text->text.data()),
                                         static_cast<UINT>(text->text.size()));
      return value->bstrVal ? S_OK : E_OUTOFMEMORY;
    }
    case ValueType::Boolean:
    case ValueType::Int32:
    case ValueType::UInt32: {
      const std::optional<std::uint32_t> number = barcode::ReadNumberValue(source, property.type);
      if (!number) return E_FAIL;
      value->vt = VariantTypeOf(property.type);
      if (property.type == ValueType::Boolean) {
        value->boolVal = static_cast<VARIANT_BOOL>(*number);
      } else {
        value->ulVal = *number;
      }
      return S_OK;
    }
  }
  return E_UNEXPECTED;
}

}  // namespace

HRESULT SavePropertiesToStream(IDispatch* control, const SIZEL& extent, IStream* stream) {
  if (control == nullptr || stream == nullptr) return E_POINTER;
  StreamSink sink(stream);
  if (!barcode::WriteUInt32(sink, barcode::kPropertyStreamVersion) ||
      !barcode::WriteUInt32(sink, static_cast<std::uint32_t>(extent.cx)) ||
      !barcode::WriteUInt32(sink, static_cast<std::uint32_t>(extent.cy))) {
    return STG_E_WRITEFAULT;
  }
  for (const PersistedProperty& property : barcode::kPersistedProperties) {
    Variant value;
    HRESULT status = GetPersistedValue(control, property, value.Get());
    if (SUCCEEDED(status)) status = WriteValue(stream, sink, property, *value.Get());
    if (FAILED(status)) return status;
  }
  return S_OK;
}

HRESULT LoadPropertiesFromStream(IDispatch* control, IStream* stream, SIZEL* extent) {
  if (control == nullptr || stream == nullptr || extent == nullptr) return E_POINTER;
  StreamSource source(stream);
  if (!barcode::ReadVersion(source)) return E_FAIL;
  const std::optional<std::uint32_t> width = barcode::ReadUInt32(source);
  const std::optional<std::uint32_t> height = width ? barcode::ReadUInt32(source) : std::nullopt;
  if (!height) return E_FAIL;
  extent->cx = static_cast<LONG>(*width);
  extent->cy = static_cast<LONG>(*height);
  for (const PersistedProperty& property : barcode::kPersistedProperties) {
    Variant value;
    HRESULT status = ReadValue(stream, source, property, value.Get());
    if (status == S_OK) status = PutProperty(control, property.dispid, value.Get());
    if (FAILED(status)) return status;
  }
  return S_OK;
}

HRESULT SavePropertiesToBag(IDispatch* control, const SIZEL& extent, IPropertyBag* bag) {
  if (control == nullptr || bag == nullptr) return E_POINTER;
  const LONG extentValues[2] = {extent.cx, extent.cy};
  const std::string_view extentNames[2] = {barcode::kExtentWidthName, barcode::kExtentHeightName};
  for (int index = 0; index < 2; ++index) {
    Variant value;
    value->vt = VT_UI4;
    value->ulVal = static_cast<ULONG>(extentValues[index]);
    const HRESULT status = bag->Write(WideName(extentNames[index]).c_str(), value.Get());
    if (FAILED(status)) return status;
  }
  for (const PersistedProperty& property : barcode::kPersistedProperties) {
    Variant value;
    HRESULT status = GetPersistedValue(control, property, value.Get());
    if (FAILED(status)) return status;
    if (value->vt == VT_DISPATCH && value->pdispVal == nullptr) continue;
    status = bag->Write(WideName(property.name).c_str(), value.Get());
    if (FAILED(status)) return status;
  }
  return S_OK;
}

HRESULT LoadPropertiesFromBag(IDispatch* control, IPropertyBag* bag, IErrorLog* log, SIZEL* extent) {
  if (control == nullptr || bag == nullptr || extent == nullptr) return E_POINTER;
  LONG* extentValues[2] = {&extent->cx, &extent->cy};
  const std::string_view extentNames[2] = {barcode::kExtentWidthName, barcode::kExtentHeightName};
  for (int index = 0; index < 2; ++index) {
    Variant value;
    MakeTypedEmpty(value.Get(), VT_UI4);
    HRESULT status = bag->Read(WideName(extentNames[index]).c_str(), value.Get(), log);
    if (status == E_INVALIDARG) continue;  // not in the bag
    if (SUCCEEDED(status)) status = VariantChangeType(value.Get(), value.Get(), 0, VT_UI4);
    if (FAILED(status)) return status;
    *extentValues[index] = static_cast<LONG>(value->ulVal);
  }
  for (const PersistedProperty& property : barcode::kPersistedProperties) {
    Variant current;
    HRESULT status = GetProperty(control, property.dispid, current.Get());
    if (FAILED(status)) return status;
    const VARTYPE wanted = current->vt == VT_EMPTY ? VariantTypeOf(property.type) : current->vt;
    Variant value;
    MakeTypedEmpty(value.Get(), wanted);
    status = bag->Read(WideName(property.name).c_str(), value.Get(), log);
    if (status == E_INVALIDARG) continue;  // not in the bag
    if (FAILED(status)) return status;
    if (value->vt != wanted) {
      status = VariantChangeType(value.Get(), value.Get(), 0, wanted);
      if (FAILED(status)) return status;
    }
    status = PutProperty(control, property.dispid, value.Get());
    if (FAILED(status)) return status;
  }
  return S_OK;
}

}  // namespace quarent::barcode
