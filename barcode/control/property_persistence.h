#pragma once
// Saving and loading the persisted properties of a control through its own IDispatch, so that
// a loaded value passes the same checks as one a client sets; the extent travels beside them.
#include <windows.h>
#include <ocidl.h>

namespace quarent::barcode {

// Writes the version, `extent` and every persisted property of `control` to `stream`.
HRESULT SavePropertiesToStream(IDispatch* control, const SIZEL& extent, IStream* stream);

// Reads a stream written by SavePropertiesToStream: `extent` is set from it, then each
// property is assigned in order. The first value that cannot be read or is refused ends the
// load with a failure (values assigned before it stay). A font object is only ever read as
// the platform's standard font; a null one leaves the font as it is.
HRESULT LoadPropertiesFromStream(IDispatch* control, IStream* stream, SIZEL* extent);

// Writes `extent` and every persisted property as named values; a null font is not written.
HRESULT SavePropertiesToBag(IDispatch* control, const SIZEL& extent, IPropertyBag* bag);

// Reads each name with the type of the property's current value; a missing name leaves the
// property as it is, a value the bag cannot give or the property refuses ends the load.
HRESULT LoadPropertiesFromBag(IDispatch* control, IPropertyBag* bag, IErrorLog* log, SIZEL* extent);

}  // namespace quarent::barcode
