#pragma once
// The values the property page writes to a control, and the order it writes them in:
// taken from the page's fields on Apply, or from a control to put back after a refusal.
#include <windows.h>

#include "QRNBC10_h.h"
#include "common/automation_types.h"

namespace quarent::barcode {

struct PageValues {
  Bstr caption;
  VARIANT_BOOL textShow = VARIANT_FALSE;
  Bstr textSuffix;
  Bstr textPrefix;
  LONG barAlignment = 0;
  LONG barOrientation = 0;
  LONG textAlignment = 0;
  VARIANT_BOOL autoSize = VARIANT_FALSE;
  LONG barStyle = 0;
  LONG barWidth = 0;
};

// Reads the values `control` has now; the first getter that fails gives its status.
HRESULT ReadPageValues(IQRNBarCode* control, PageValues* values);

// The end of WritePageValues: success, or the refused value's status and dialog field.
struct PageWrite {
  HRESULT status = S_OK;
  int fieldId = 0;
  // False for the emptying of the caption, which has no field value of its own.
  bool fieldWritten = false;
};

// Writes `values` to `control` in the page's order and stops at the first refusal. The
// caption is emptied first, so that a new style never meets the old caption, and written
// last; so values read together from one control are always accepted again.
PageWrite WritePageValues(IQRNBarCode* control, const PageValues& values);

}  // namespace quarent::barcode
