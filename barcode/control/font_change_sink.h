#pragma once
// The sink through which the control follows the changes of its current font object.
#include <windows.h>
#include <ocidl.h>

#include "common/com_object.h"

namespace quarent::barcode {

class BarCodeControl;

class FontChangeSink : public ComObject<IPropertyNotifySink> {
 public:
  // Reports to `control` until Detach; holds no reference to it (the control owns the sink).
  FontChangeSink(IUnknown* outer, BarCodeControl* control);

  // The control is going or has dropped the font: no more reports.
  void Detach() { control_ = nullptr; }

  STDMETHODIMP OnChanged(DISPID id) override;
  STDMETHODIMP OnRequestEdit(DISPID id) override;

 protected:
  void* FindInterface(REFIID iid) override;

 private:
  BarCodeControl* control_;
};

}  // namespace quarent::barcode
