// Construction, interface table and the helpers the property, painting and container code
// share.
#include "control/bar_code_control.h"

#include "control/font_change_sink.h"
#include "layout/symbol_geometry.h"

namespace quarent::barcode {

BarCodeControl::BarCodeControl(IUnknown* outer)
    : ComObject(outer),
      events_(*this, DIID__IQRNBarCodeEvents, lock_),
      propertyNotify_(*this, IID_IPropertyNotifySink, lock_, SinkKind::Vtable),
      caption_(L"QUARENT") {}

BarCodeControl::~BarCodeControl() {
  SetFontObject(nullptr);
  window_.Destroy();
  events_.DisconnectAll();
  propertyNotify_.DisconnectAll();
}

HRESULT BarCodeControl::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  return CreateComObject<BarCodeControl>(outer, iid, object);
}

void* BarCodeControl::FindInterface(REFIID iid) {
  if (IsEqualIID(iid, IID_IQRNBarCode) || IsEqualIID(iid, IID_IDispatch)) return static_cast<IQRNBarCode*>(this);
  if (IsEqualIID(iid, IID_IOleObject)) return static_cast<IOleObject*>(this);
  if (IsEqualIID(iid, IID_IOleWindow) || IsEqualIID(iid, IID_IOleInPlaceObject)) {
    return static_cast<IOleInPlaceObject*>(this);
  }
  if (IsEqualIID(iid, IID_IOleInPlaceActiveObject)) return static_cast<IOleInPlaceActiveObject*>(this);
  if (IsEqualIID(iid, IID_IViewObject) || IsEqualIID(iid, IID_IViewObject2) || IsEqualIID(iid, IID_IViewObjectEx)) {
    return static_cast<IViewObjectEx*>(this);
  }
  if (IsEqualIID(iid, IID_IOleControl)) return static_cast<IOleControl*>(this);
  if (IsEqualIID(iid, IID_IQuickActivate)) return static_cast<IQuickActivate*>(this);
  if (IsEqualIID(iid, IID_IPersist) || IsEqualIID(iid, IID_IPersistStreamInit)) {
    return static_cast<IPersistStreamInit*>(this);
  }
  if (IsEqualIID(iid, IID_IPersistStorage)) return static_cast<IPersistStorage*>(this);
  if (IsEqualIID(iid, IID_IPersistPropertyBag)) return static_cast<IPersistPropertyBag*>(this);
  if (IsEqualIID(iid, IID_IDataObject)) return static_cast<IDataObject*>(this);
  if (IsEqualIID(iid, IID_ISpecifyPropertyPages)) return static_cast<ISpecifyPropertyPages*>(this);
  if (IsEqualIID(iid, IID_ICategorizeProperties)) return static_cast<ICategorizeProperties*>(this);
  if (IsEqualIID(iid, IID_IObjectSafety)) return static_cast<IObjectSafety*>(this);
  if (IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_IProvideClassInfo2)) {
    return static_cast<IProvideClassInfo2*>(this);
  }
  if (IsEqualIID(iid, IID_ISupportErrorInfo)) return static_cast<ISupportErrorInfo*>(this);
  if (IsEqualIID(iid, IID_IConnectionPointContainer)) return static_cast<IConnectionPointContainer*>(this);
  return nullptr;
}

HRESULT BarCodeControl::Refuse(barcode::PropertyError error) {
  switch (error) {
    case barcode::PropertyError::None: return S_OK;
    case barcode::PropertyError::OutOfRange: return E_INVALIDARG;
    case barcode::PropertyError::OutOfMemory: return E_OUTOFMEMORY;
    default: return ReportError(E_INVALIDARG, barcode::ErrorTextId(error), IID_IQRNBarCode, kControlProgId);
  }
}

void BarCodeControl::PropertyChanged(bool resize) {
  dirty_ = true;
  if (resize && autoSize_ != VARIANT_FALSE) ApplyAutoSize(extent_);
  Repaint();
}

void BarCodeControl::Repaint() {
  if (window_) {
    InvalidateRect(window_.Get(), nullptr, TRUE);
  } else if (viewSink_) {
    viewSink_->OnViewChange(DVASPECT_CONTENT, -1);
  }
}

PictureSettings BarCodeControl::CurrentPicture() const {
  PictureSettings settings;
  settings.style = static_cast<barcode::BarStyle>(barStyle_);
  settings.caption = ToAnsi(caption_.Get());
  settings.prefix = ToAnsi(textPrefix_.Get());
  settings.suffix = ToAnsi(textSuffix_.Get());
  settings.moduleWidth = barWidth_;
  settings.orientation = static_cast<barcode::Orientation>(barOrientation_);
  settings.textAlignment = static_cast<barcode::Alignment>(textAlignment_);
  settings.barAlignment = static_cast<barcode::Alignment>(barAlignment_);
  settings.showText = textShow_ != VARIANT_FALSE;
  settings.foreColor = foreColor_;
  settings.backColor = backColor_;
  if (font_) {
    ComPtr<IFont> font = font_.As<IFont>();
    settings.font = font.Get();  // font_ keeps the object alive
  }
  return settings;
}

HRESULT BarCodeControl::ComputeValidSize(barcode::Extent* size, barcode::PropertyError* error) {
  // Without a window the screen's context measures the text: same resolution, and the size
  // then matches what a later paint needs.
  HWND measured = window_ ? window_.Get() : nullptr;
  HDC dc = GetDC(measured);
  const HRESULT status = ValidSizeOf(CurrentPicture(), dc, size, error);
  if (dc) ReleaseDC(measured, dc);
  return status;
}

PaintResult BarCodeControl::PaintInto(HDC dc, RECT bounds) {
  const int saved = SaveDC(dc);
  const PaintResult result = PaintPicture(dc, bounds, CurrentPicture());
  RestoreDC(dc, saved);
  if (result.outcome == PaintOutcome::Drawn) isBarValid_ = VARIANT_TRUE;
  if (result.outcome == PaintOutcome::SizeNotice) isBarValid_ = VARIANT_FALSE;
  return result;
}

HRESULT BarCodeControl::ApplyAutoSize(SIZEL believed) {
  barcode::Extent valid;
  barcode::PropertyError error;
  const HRESULT status = ComputeValidSize(&valid, &error);
  if (FAILED(status)) return status;
  const barcode::Extent sized = barcode::WithAutoSizeMargin(valid);
  extent_ = {sized.cx, sized.cy};
  // Telling the site only about a real change keeps a container that answers with
  // GetExtent or SetExtent from looping.
  if (extent_.cx == believed.cx && extent_.cy == believed.cy) return S_OK;

  HDC screen = GetDC(nullptr);
  const int dotsX = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  const int dotsY = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  positionRect_.right = positionRect_.left + barcode::HimetricToPixels(extent_.cx, dotsX);
  positionRect_.bottom = positionRect_.top + barcode::HimetricToPixels(extent_.cy, dotsY);
  if (inPlaceSite_) inPlaceSite_->OnPosRectChange(&positionRect_);
  if (clientSite_) clientSite_->RequestNewObjectLayout();
  return S_OK;
}

}  // namespace quarent::barcode
