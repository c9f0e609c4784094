// In-place activation: IOleWindow, IOleInPlaceObject and IOleInPlaceActiveObject, and the
// property frame of the Properties verb.
#include "control/bar_code_control.h"

namespace quarent::barcode {
namespace {

// The frame and document windows of the site, for UI activation.
struct WindowContext {
  ComPtr<IOleInPlaceFrame> frame;
  ComPtr<IOleInPlaceUIWindow> document;
  RECT position = {};
  RECT clip = {};
};

HRESULT ReadWindowContext(IOleInPlaceSite* site, WindowContext* context) {
  OLEINPLACEFRAMEINFO frameInfo = {};
  frameInfo.cb = sizeof(frameInfo);
  return site->GetWindowContext(context->frame.Receive(), context->document.Receive(), &context->position,
                                &context->clip, &frameInfo);
}

}  // namespace

HRESULT BarCodeControl::InPlaceActivate(LONG verb, HWND, LPCRECT) {
  if (!clientSite_) return E_UNEXPECTED;
  if (!inPlaceActive_) {
    ComPtr<IOleInPlaceSite> site = clientSite_.As<IOleInPlaceSite>();
    if (!site) return E_FAIL;
    if (site->CanInPlaceActivate() != S_OK) return E_FAIL;
    inPlaceSite_ = site;
    inPlaceActive_ = true;
    inPlaceSite_->OnInPlaceActivate();
  }
  if (!window_) {
    HWND parent = nullptr;
    WindowContext context;
    HRESULT status = inPlaceSite_->GetWindow(&parent);
    if (SUCCEEDED(status)) status = ReadWindowContext(inPlaceSite_.Get(), &context);
    if (SUCCEEDED(status)) status = window_.Create(parent, context.position, *this);
    if (FAILED(status)) {
      InPlaceDeactivate();
      return status;
    }
    positionRect_ = context.position;
    // A control loaded invisible stays hidden at run time.
    if (visible_ == VARIANT_FALSE && AmbientUserMode()) ShowWindow(window_.Get(), SW_HIDE);
  }
  if (verb == OLEIVERB_UIACTIVATE && !uiActive_) {
    uiActive_ = true;
    inPlaceSite_->OnUIActivate();
    SetFocus(window_.Get());
    WindowContext context;
    if (SUCCEEDED(ReadWindowContext(inPlaceSite_.Get(), &context))) {
      if (context.frame) {
        context.frame->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), nullptr);
        context.frame->SetBorderSpace(nullptr);
      }
      if (context.document) context.document->SetActiveObject(static_cast<IOleInPlaceActiveObject*>(this), nullptr);
    }
  }
  return S_OK;
}

HRESULT BarCodeControl::ShowPropertyFrame(HWND parent) {
  if (clientSite_) {
    ComPtr<IOleControlSite> controlSite = clientSite_.As<IOleControlSite>();
    if (controlSite && SUCCEEDED(controlSite->ShowPropertyFrame())) return S_OK;
  }
  CAUUID pages = {};
  HRESULT status = GetPages(&pages);
  if (FAILED(status)) return status;
  IUnknown* self = static_cast<IOleObject*>(this);
  status = OleCreatePropertyFrame(parent, 0, 0, L"QRNBarCode", 1, &self, pages.cElems, pages.pElems,
                                  LOCALE_USER_DEFAULT, 0, nullptr);
  CoTaskMemFree(pages.pElems);
  return status;
}

STDMETHODIMP BarCodeControl::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = window_.Get();
  return *window ? S_OK : E_FAIL;
}

STDMETHODIMP BarCodeControl::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

STDMETHODIMP BarCodeControl::InPlaceDeactivate() {
  if (!inPlaceActive_) return S_OK;
  if (uiActive_) UIDeactivate();
  inPlaceActive_ = false;
  window_.Destroy();
  ComPtr<IOleInPlaceSite> site = inPlaceSite_;
  inPlaceSite_.Reset();
  if (site) site->OnInPlaceDeactivate();
  return S_OK;
}

STDMETHODIMP BarCodeControl::UIDeactivate() {
  if (!uiActive_) return S_OK;
  uiActive_ = false;
  if (inPlaceSite_) {
    WindowContext context;
    if (SUCCEEDED(ReadWindowContext(inPlaceSite_.Get(), &context))) {
      if (context.document) context.document->SetActiveObject(nullptr, nullptr);
      if (context.frame) context.frame->SetActiveObject(nullptr, nullptr);
    }
    inPlaceSite_->OnUIDeactivate(FALSE);
  }
  return S_OK;
}

STDMETHODIMP BarCodeControl::SetObjectRects(LPCRECT position, LPCRECT clip) {
  if (position == nullptr || clip == nullptr) return E_POINTER;
  positionRect_ = *position;
  if (window_) {
    SetWindowPos(window_.Get(), nullptr, position->left, position->top, position->right - position->left,
                 position->bottom - position->top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return S_OK;
}

STDMETHODIMP BarCodeControl::ReactivateAndUndo() { return E_NOTIMPL; }

STDMETHODIMP BarCodeControl::TranslateAccelerator(LPMSG) { return S_FALSE; }

STDMETHODIMP BarCodeControl::OnFrameWindowActivate(BOOL) { return S_OK; }

STDMETHODIMP BarCodeControl::OnDocWindowActivate(BOOL) { return S_OK; }

STDMETHODIMP BarCodeControl::ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) { return S_OK; }

STDMETHODIMP BarCodeControl::EnableModeless(BOOL) { return S_OK; }

}  // namespace quarent::barcode
