#include "variant_value.h"

#include "common/automation_types.h"
#include "windows_text.h"

namespace quarent::brnlog {

LogValue ValueOfVariant(const VARIANT& variant) {
  if (V_VT(&variant) & VT_BYREF) {
    Variant direct;
    if (FAILED(VariantCopyInd(direct.Get(), const_cast<VARIANT*>(&variant)))) return LogValue::Opaque(V_VT(&variant));
    if (V_VT(direct.Get()) & VT_BYREF) return LogValue::Opaque(V_VT(direct.Get()));
    return ValueOfVariant(*direct.Get());
  }
  const VARTYPE type = V_VT(&variant);
  switch (type) {
    case VT_I2:
      return LogValue::Integer(type, static_cast<uint16_t>(V_I2(&variant)));
    case VT_BOOL:
      return LogValue::Integer(type, static_cast<uint16_t>(V_BOOL(&variant)));
    case VT_UI2:
      return LogValue::Integer(type, V_UI2(&variant));
    case VT_I4:
      return LogValue::Integer(type, static_cast<uint32_t>(V_I4(&variant)));
    case VT_INT:
      return LogValue::Integer(type, static_cast<uint32_t>(V_INT(&variant)));
    case VT_UI4:
      return LogValue::Integer(type, V_UI4(&variant));
    case VT_UINT:
      return LogValue::Integer(type, V_UINT(&variant));
    case VT_I1:
      return LogValue::Integer(type, static_cast<uint8_t>(V_I1(&variant)));
    case VT_UI1:
      return LogValue::Integer(type, V_UI1(&variant));
    case VT_R4:
      return LogValue::Real(type, V_R4(&variant));
    case VT_R8:
      return LogValue::Real(type, V_R8(&variant));
    case VT_DATE:
      return LogValue::Real(type, V_DATE(&variant));
    case VT_CY:
      return LogValue::Currency(V_CY(&variant).int64);
    case VT_BSTR:
      return LogValue::String(TextOfBstr(V_BSTR(&variant)));
    default:
      return LogValue::Opaque(type);
  }
}

}  // namespace quarent::brnlog
