// The property-change protocol towards the container's IPropertyNotifySink sinks, and the
// control's reaction to a change of its font object.
#include "control/bar_code_control.h"

#include "control/font_change_sink.h"

namespace quarent::barcode {

HRESULT BarCodeControl::RequestEdit(DISPID id) {
  HRESULT answer = S_OK;
  propertyNotify_.ForEachSink([&](IUnknown* sink) {
    const HRESULT status = static_cast<IPropertyNotifySink*>(sink)->OnRequestEdit(id);
    if (answer == S_OK && status != S_OK) answer = status;
  });
  return answer;
}

HRESULT BarCodeControl::NotifyChanged(DISPID id) {
  HRESULT answer = S_OK;
  propertyNotify_.ForEachSink([&](IUnknown* sink) {
    const HRESULT status = static_cast<IPropertyNotifySink*>(sink)->OnChanged(id);
    if (SUCCEEDED(answer) && FAILED(status)) answer = status;
  });
  return answer;
}

void BarCodeControl::SetFontObject(IFontDisp* font) {
  if (font_ && fontSink_) {
    ComPtr<IConnectionPointContainer> container = font_.As<IConnectionPointContainer>();
    ComPtr<IConnectionPoint> point;
    if (container && SUCCEEDED(container->FindConnectionPoint(IID_IPropertyNotifySink, point.Receive()))) {
      point->Unadvise(fontSinkCookie_);
    }
  }
  if (fontSink_) {
    fontSink_->Detach();
    static_cast<IPropertyNotifySink*>(fontSink_)->Release();
    fontSink_ = nullptr;
  }
  fontSinkCookie_ = 0;
  font_ = ComPtr<IFontDisp>(font);
  if (!font_) return;

  // Following the font is a convenience: a font without notifications is still used.
  ComPtr<IConnectionPointContainer> container = font_.As<IConnectionPointContainer>();
  ComPtr<IConnectionPoint> point;
  if (!container || FAILED(container->FindConnectionPoint(IID_IPropertyNotifySink, point.Receive()))) return;
  IPropertyNotifySink* sink = nullptr;
  if (FAILED(CreateComObject<FontChangeSink>(nullptr, IID_IPropertyNotifySink, reinterpret_cast<void**>(&sink), this))) {
    return;
  }
  if (FAILED(point->Advise(sink, &fontSinkCookie_))) {
    sink->Release();
    fontSinkCookie_ = 0;
    return;
  }
  fontSink_ = static_cast<FontChangeSink*>(sink);
}

void BarCodeControl::OnFontChanged() {
  dirty_ = true;
  if (autoSize_ != VARIANT_FALSE) ApplyAutoSize(extent_);
  Repaint();
}

}  // namespace quarent::barcode
