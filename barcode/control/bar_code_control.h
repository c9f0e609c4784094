#pragma once
// QRNBarCode: the windowed barcode control. One COM object answers the standard control
// interfaces; their implementations live in one file per concern (see the section comments).
#include <windows.h>
#include <objsafe.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>

#include "QRNBC10_h.h"
#include "common/automation_types.h"
#include "common/com_object.h"
#include "common/com_ptr.h"
#include "common/connection_point.h"
#include "common/dispatch.h"
#include "common/error_info.h"
#include "control/control_window.h"
#include "control/picture_painting.h"
#include "encoders/barcode_encoder.h"
#include "model/mouse_events.h"
#include "model/property_rules.h"

namespace quarent::barcode {

class FontChangeSink;

// The ProgID reported as the source of the control's error information.
constexpr const wchar_t* kControlProgId = L"QUARENT.QRNBarCode.1";
// OLEMISC bits of the content aspect: set-client-site-first, activate-when-visible,
// inside-out, cannot-link-inside, recompose-on-resize (registered as MiscStatus\1).
constexpr DWORD kMiscStatus = 131473;

class BarCodeControl
    : public ComObject<DualInterface<IQRNBarCode>, IOleObject, IOleInPlaceObject, IOleInPlaceActiveObject,
                       IViewObjectEx, IOleControl, IQuickActivate, IPersistStreamInit, IPersistStorage,
                       IPersistPropertyBag, IDataObject, ISpecifyPropertyPages, ICategorizeProperties, IObjectSafety,
                       ProvideClassInfoFor<QRNBarCode, _IQRNBarCodeEvents>, SupportErrorInfoFor<IQRNBarCode>,
                       ConnectionPointContainer>,
      private WindowMessageHandler {
 public:
  explicit BarCodeControl(IUnknown* outer);
  ~BarCodeControl() override;

  // Class factory entry.
  static HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object);

  // IQRNBarCode properties (control_properties.cpp).
  STDMETHODIMP get__Default(BSTR* value) override;
  STDMETHODIMP put__Default(BSTR value) override;
  STDMETHODIMP put_BackColor(OLE_COLOR color) override;
  STDMETHODIMP get_BackColor(OLE_COLOR* color) override;
  STDMETHODIMP put_ForeColor(OLE_COLOR color) override;
  STDMETHODIMP get_ForeColor(OLE_COLOR* color) override;
  STDMETHODIMP put_AutoSize(VARIANT_BOOL value) override;
  STDMETHODIMP get_AutoSize(VARIANT_BOOL* value) override;
  STDMETHODIMP put_Font(IFontDisp* font) override;
  STDMETHODIMP putref_Font(IFontDisp* font) override;
  STDMETHODIMP get_Font(IFontDisp** font) override;
  STDMETHODIMP put_Caption(BSTR caption) override;
  STDMETHODIMP get_Caption(BSTR* caption) override;
  STDMETHODIMP get_BarStyle(Constants_BarCodeSel* value) override;
  STDMETHODIMP put_BarStyle(Constants_BarCodeSel value) override;
  STDMETHODIMP get_Visible(VARIANT_BOOL* value) override;
  STDMETHODIMP put_Visible(VARIANT_BOOL value) override;
  STDMETHODIMP get_TextShow(VARIANT_BOOL* value) override;
  STDMETHODIMP put_TextShow(VARIANT_BOOL value) override;
  STDMETHODIMP get_TextPrefix(BSTR* value) override;
  STDMETHODIMP put_TextPrefix(BSTR value) override;
  STDMETHODIMP get_TextSuffix(BSTR* value) override;
  STDMETHODIMP put_TextSuffix(BSTR value) override;
  STDMETHODIMP get_BarWidth(LONG* value) override;
  STDMETHODIMP put_BarWidth(LONG value) override;
  STDMETHODIMP get_TextAlignment(Constants_Alignment* value) override;
  STDMETHODIMP put_TextAlignment(Constants_Alignment value) override;
  STDMETHODIMP get_BarAlignment(Constants_Alignment* value) override;
  STDMETHODIMP put_BarAlignment(Constants_Alignment value) override;
  STDMETHODIMP get_BarOrientation(Constants_Orientation* value) override;
  STDMETHODIMP put_BarOrientation(Constants_Orientation value) override;
  STDMETHODIMP get_IsBarValid(VARIANT_BOOL* value) override;

  // IQRNBarCode methods (control_methods.cpp).
  STDMETHODIMP AboutBox() override;
  STDMETHODIMP StringToBC128Font(BSTR source, Constants_FontSel mode, BSTR* result) override;
  STDMETHODIMP IsStringValid(BSTR source, VARIANT_BOOL* result) override;
  STDMETHODIMP GetValidSize(LONG* cx, LONG* cy, VARIANT_BOOL* result) override;
  STDMETHODIMP DrawToDC(LONG dc, LONG left, LONG top, LONG right, LONG bottom, VARIANT_BOOL* result) override;

  // IOleObject (ole_object.cpp; SetClientSite and GetClientSite in control_site.cpp).
  STDMETHODIMP SetClientSite(IOleClientSite* site) override;
  STDMETHODIMP GetClientSite(IOleClientSite** site) override;
  STDMETHODIMP SetHostNames(LPCOLESTR application, LPCOLESTR document) override;
  STDMETHODIMP Close(DWORD saveOption) override;
  STDMETHODIMP SetMoniker(DWORD which, IMoniker* moniker) override;
  STDMETHODIMP GetMoniker(DWORD assign, DWORD which, IMoniker** moniker) override;
  STDMETHODIMP InitFromData(IDataObject* data, BOOL creation, DWORD reserved) override;
  STDMETHODIMP GetClipboardData(DWORD reserved, IDataObject** data) override;
  STDMETHODIMP DoVerb(LONG verb, LPMSG message, IOleClientSite* site, LONG index, HWND parent,
                      LPCRECT position) override;
  STDMETHODIMP EnumVerbs(IEnumOLEVERB** verbs) override;
  STDMETHODIMP Update() override;
  STDMETHODIMP IsUpToDate() override;
  STDMETHODIMP GetUserClassID(CLSID* classId) override;
  STDMETHODIMP GetUserType(DWORD form, LPOLESTR* userType) override;
  STDMETHODIMP SetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP GetExtent(DWORD aspect, SIZEL* size) override;
  STDMETHODIMP Advise(IAdviseSink* sink, DWORD* connection) override;
  STDMETHODIMP Unadvise(DWORD connection) override;
  STDMETHODIMP EnumAdvise(IEnumSTATDATA** advises) override;
  STDMETHODIMP GetMiscStatus(DWORD aspect, DWORD* status) override;
  STDMETHODIMP SetColorScheme(LOGPALETTE* palette) override;

  // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject (in_place_object.cpp).
  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL enterMode) override;
  STDMETHODIMP InPlaceDeactivate() override;
  STDMETHODIMP UIDeactivate() override;
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT clip) override;
  STDMETHODIMP ReactivateAndUndo() override;
  STDMETHODIMP TranslateAccelerator(LPMSG message) override;
  STDMETHODIMP OnFrameWindowActivate(BOOL activate) override;
  STDMETHODIMP OnDocWindowActivate(BOOL activate) override;
  STDMETHODIMP ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) override;
  STDMETHODIMP EnableModeless(BOOL enable) override;

  // IViewObject, IViewObject2, IViewObjectEx (view_object.cpp).
  STDMETHODIMP Draw(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* target, HDC targetDc, HDC dc,
                    LPCRECTL bounds, LPCRECTL windowBounds, BOOL(STDMETHODCALLTYPE* cont)(ULONG_PTR),
                    ULONG_PTR continueArgument) override;
  STDMETHODIMP GetColorSet(DWORD aspect, LONG index, void* aspectInfo, DVTARGETDEVICE* target, HDC targetDc,
                           LOGPALETTE** colors) override;
  STDMETHODIMP Freeze(DWORD aspect, LONG index, void* aspectInfo, DWORD* freeze) override;
  STDMETHODIMP Unfreeze(DWORD freeze) override;
  STDMETHODIMP SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
  STDMETHODIMP GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
  STDMETHODIMP GetExtent(DWORD aspect, LONG index, DVTARGETDEVICE* target, LPSIZEL size) override;
  STDMETHODIMP GetRect(DWORD aspect, LPRECTL rect) override;
  STDMETHODIMP GetViewStatus(DWORD* status) override;
  STDMETHODIMP QueryHitPoint(DWORD aspect, LPCRECT bounds, POINT location, LONG closeHint, DWORD* hit) override;
  STDMETHODIMP QueryHitRect(DWORD aspect, LPCRECT bounds, LPCRECT location, LONG closeHint, DWORD* hit) override;
  STDMETHODIMP GetNaturalExtent(DWORD aspect, LONG index, DVTARGETDEVICE* target, HDC targetDc,
                                DVEXTENTINFO* info, LPSIZEL size) override;

  // IOleControl and IQuickActivate (ole_control.cpp).
  STDMETHODIMP GetControlInfo(CONTROLINFO* info) override;
  STDMETHODIMP OnMnemonic(MSG* message) override;
  STDMETHODIMP OnAmbientPropertyChange(DISPID id) override;
  STDMETHODIMP FreezeEvents(BOOL freeze) override;
  STDMETHODIMP QuickActivate(QACONTAINER* container, QACONTROL* control) override;
  STDMETHODIMP SetContentExtent(LPSIZEL size) override;
  STDMETHODIMP GetContentExtent(LPSIZEL size) override;

  // IPersist, IPersistStreamInit, IPersistStorage, IPersistPropertyBag (persistence.cpp).
  STDMETHODIMP GetClassID(CLSID* classId) override;
  STDMETHODIMP IsDirty() override;
  STDMETHODIMP Load(IStream* stream) override;
  STDMETHODIMP Save(IStream* stream, BOOL clearDirty) override;
  STDMETHODIMP GetSizeMax(ULARGE_INTEGER* size) override;
  STDMETHODIMP InitNew() override;
  STDMETHODIMP InitNew(IStorage* storage) override;
  STDMETHODIMP Load(IStorage* storage) override;
  STDMETHODIMP Save(IStorage* storage, BOOL sameAsLoad) override;
  STDMETHODIMP SaveCompleted(IStorage* storage) override;
  STDMETHODIMP HandsOffStorage() override;
  STDMETHODIMP Load(IPropertyBag* bag, IErrorLog* log) override;
  STDMETHODIMP Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;

  // IDataObject (data_object.cpp).
  STDMETHODIMP GetData(FORMATETC* format, STGMEDIUM* medium) override;
  STDMETHODIMP GetDataHere(FORMATETC* format, STGMEDIUM* medium) override;
  STDMETHODIMP QueryGetData(FORMATETC* format) override;
  STDMETHODIMP GetCanonicalFormatEtc(FORMATETC* in, FORMATETC* out) override;
  STDMETHODIMP SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) override;
  STDMETHODIMP EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override;
  STDMETHODIMP DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) override;
  STDMETHODIMP DUnadvise(DWORD connection) override;
  STDMETHODIMP EnumDAdvise(IEnumSTATDATA** advises) override;

  // ISpecifyPropertyPages and ICategorizeProperties (property_pages.cpp).
  STDMETHODIMP GetPages(CAUUID* pages) override;
  STDMETHODIMP MapPropertyToCategory(DISPID id, PROPCAT* category) override;
  STDMETHODIMP GetCategoryName(PROPCAT category, LCID locale, BSTR* name) override;

  // IObjectSafety (object_safety.cpp).
  STDMETHODIMP GetInterfaceSafetyOptions(REFIID iid, DWORD* supported, DWORD* enabled) override;
  STDMETHODIMP SetInterfaceSafetyOptions(REFIID iid, DWORD mask, DWORD enabled) override;

  // Called by the font change sink when the current font reports a change.
  void OnFontChanged();

 protected:
  void* FindInterface(REFIID iid) override;
  size_t ConnectionPointCount() override { return 2; }
  ConnectionPoint& ConnectionPointAt(size_t index) override { return index == 0 ? events_ : propertyNotify_; }

 private:
  // The window's messages (control_window.cpp holds the window class; the handler is in
  // control_window_proc.cpp).
  LRESULT OnWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void RaiseMouseEvents(barcode::MouseAction action, std::int16_t button, LPARAM position);

  // Property change protocol (property_notification.cpp). RequestEdit answers S_OK, S_FALSE
  // when a sink refuses, or the first failure a sink returns.
  HRESULT RequestEdit(DISPID id);
  // Reports a change to the property sinks; returns the first failure a sink returns.
  HRESULT NotifyChanged(DISPID id);
  // After a successful change: marks the control dirty, resizes (when `resize` and AutoSize)
  // and repaints.
  void PropertyChanged(bool resize);
  // Asks the container to repaint the control.
  void Repaint();
  // Sets the error information of `error` (when it has a text) and returns its status.
  HRESULT Refuse(barcode::PropertyError error);

  // Painting inputs from the current properties.
  PictureSettings CurrentPicture() const;
  // The valid size (0.01 mm) with the text band measured in the window's context, or the
  // screen's while there is no window.
  HRESULT ComputeValidSize(barcode::Extent* size, barcode::PropertyError* error);
  // Paints into `dc` over `bounds` (logical units of its mapping mode), keeping its state, and
  // updates IsBarValid.
  PaintResult PaintInto(HDC dc, RECT bounds);
  // AutoSize: the extent becomes the valid size plus a tenth; the site learns the new position.
  // `believed` is the extent the container holds now.
  HRESULT ApplyAutoSize(SIZEL believed);

  // Site and ambient properties (control_site.cpp).
  HRESULT GetAmbientProperty(DISPID id, VARIANT* value);
  bool AmbientUserMode();
  // BackColor still at its initial marker takes the ambient back colour (white without one).
  void TakeAmbientBackColor();
  // Creates the default font when none is set.
  void EnsureDefaultFont();
  // Makes `font` the current font and follows its changes.
  void SetFontObject(IFontDisp* font);

  // In-place activation (in_place_object.cpp).
  HRESULT InPlaceActivate(LONG verb, HWND parentHint, LPCRECT positionHint);
  HRESULT ShowPropertyFrame(HWND parent);

  CriticalSection lock_;
  ConnectionPoint events_;
  ConnectionPoint propertyNotify_;

  // Properties.
  OLE_COLOR backColor_ = 0xFFFFFF;
  bool backColorIsInitial_ = true;
  OLE_COLOR foreColor_ = 0;
  VARIANT_BOOL autoSize_ = VARIANT_FALSE;
  ComPtr<IFontDisp> font_;
  Bstr caption_;
  LONG barStyle_ = 1;
  VARIANT_BOOL visible_ = VARIANT_TRUE;
  VARIANT_BOOL textShow_ = VARIANT_TRUE;
  Bstr textPrefix_;
  Bstr textSuffix_;
  LONG barWidth_ = 35;
  LONG textAlignment_ = 3;
  LONG barAlignment_ = 1;
  LONG barOrientation_ = 1;
  VARIANT_BOOL isBarValid_ = VARIANT_FALSE;

  // Container state.
  SIZEL extent_ = {6350, 1905};
  bool dirty_ = false;
  ComPtr<IOleClientSite> clientSite_;
  ComPtr<IDispatch> ambient_;
  ComPtr<IOleInPlaceSite> inPlaceSite_;
  ComPtr<IOleAdviseHolder> oleAdvise_;
  ComPtr<IDataAdviseHolder> dataAdvise_;
  ComPtr<IAdviseSink> viewSink_;
  DWORD viewAspects_ = 0;
  DWORD viewFlags_ = 0;
  bool inPlaceActive_ = false;
  bool uiActive_ = false;
  RECT positionRect_ = {};
  ControlWindow window_;
  LONG frozenEvents_ = 0;
  DWORD safetyOptions_ = 0;
  barcode::MouseEventMapper mouse_;
  FontChangeSink* fontSink_ = nullptr;
  DWORD fontSinkCookie_ = 0;
};

}  // namespace quarent::barcode
