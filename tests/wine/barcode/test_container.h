#pragma once
// A minimal control container for the tests: a top-level window, a client site with the
// in-place site, and an ambient-property dispatch whose values the tests choose.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

#include "QRNBC10_h.h"

namespace test {

class TestSite : public IOleClientSite, public IOleInPlaceSite, public IDispatch {
 public:
  // Made with one reference; its window is the program's one visible 640 x 480 container window.
  TestSite();

  // The ambient properties answered through IDispatch; unset ones answer DISP_E_MEMBERNOTFOUND.
  bool hasAmbientBackColor = false;
  OLE_COLOR ambientBackColor = 0;
  // The variant type the back colour is handed over as: VT_I4 (as many containers do) or VT_UI4.
  VARTYPE ambientBackColorType = VT_I4;
  bool hasAmbientUserMode = false;
  bool ambientUserMode = true;
  // The rectangle handed out by GetWindowContext.
  RECT position = {10, 20, 310, 120};
  // What the control told the site.
  int positionChanges = 0;
  RECT lastPosition = {};
  int layoutRequests = 0;
  int inPlaceActivations = 0;
  int inPlaceDeactivations = 0;

  HWND Window() const { return window_; }
  // The control, set by Host; the site answers OnPosRectChange by moving it.
  IOleInPlaceObject* inPlaceObject = nullptr;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP SaveObject() override { return S_OK; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
  STDMETHODIMP GetContainer(IOleContainer** container) override;
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override;

  STDMETHODIMP GetWindow(HWND* window) override;
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP CanInPlaceActivate() override { return S_OK; }
  STDMETHODIMP OnInPlaceActivate() override;
  STDMETHODIMP OnUIActivate() override { return S_OK; }
  STDMETHODIMP GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                LPRECT clip, LPOLEINPLACEFRAMEINFO info) override;
  STDMETHODIMP Scroll(SIZE) override { return E_NOTIMPL; }
  STDMETHODIMP OnUIDeactivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnInPlaceDeactivate() override;
  STDMETHODIMP DiscardUndoState() override { return S_OK; }
  STDMETHODIMP DeactivateAndUndo() override { return S_OK; }
  STDMETHODIMP OnPosRectChange(LPCRECT position) override;

  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) override;

 private:
  virtual ~TestSite();
  LONG references_ = 1;
  HWND window_ = nullptr;
};

// A control created by class id, sited in a TestSite, optionally in-place active.
class HostedControl {
 public:
  // Creates the control; `activate` also gives it its window in the site's window.
  explicit HostedControl(bool site = true, bool activate = false);
  ~HostedControl();
  HostedControl(const HostedControl&) = delete;
  HostedControl& operator=(const HostedControl&) = delete;

  IQRNBarCode* operator->() const { return control_; }
  IQRNBarCode* Get() const { return control_; }
  TestSite& Site() { return *site_; }
  // The control's interface `iid`, with a new reference owned by the caller.
  template <class T>
  T* As(REFIID iid) const {
    T* result = nullptr;
    control_->QueryInterface(iid, reinterpret_cast<void**>(&result));
    return result;
  }
  // Gives the control its site (when it has none) and activates it in place.
  HRESULT Activate();
  // The control's window (null when not active).
  HWND ControlWindow() const;

 private:
  IQRNBarCode* control_ = nullptr;
  TestSite* site_ = nullptr;
  bool sited_ = false;
};

// Records IPropertyNotifySink calls as "R-501 C-501" and answers OnRequestEdit with `answer`
// and OnChanged with `changedAnswer`.
class PropertySink : public IPropertyNotifySink {
 public:
  HRESULT answer = S_OK;
  HRESULT changedAnswer = S_OK;
  std::string calls;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyNotifySink)) {
      *object = static_cast<IPropertyNotifySink*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override { return --references_; }  // lives on the stack
  STDMETHODIMP OnChanged(DISPID id) override {
    calls += (calls.empty() ? "C" : " C") + std::to_string(id);
    return changedAnswer;
  }
  STDMETHODIMP OnRequestEdit(DISPID id) override {
    calls += (calls.empty() ? "R" : " R") + std::to_string(id);
    return answer;
  }

 private:
  ULONG references_ = 1;
};

// An automation string owned by the test.
class Bstr {
 public:
  explicit Bstr(const wchar_t* text) : text_(SysAllocString(text)) {}
  ~Bstr() { SysFreeString(text_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR Get() const { return text_; }

 private:
  BSTR text_;
};

// Registers QRNBC10.dll (beside the test program) once per process; true on success.
bool RegisterBarCodeServer();

// A font object of `face` at `points` (10 pt when 0), with a new reference.
IFontDisp* MakeFont(const wchar_t* face, int points = 10, bool bold = false);

// The texts of the static controls of `dialog`, joined (a message box's text, the About
// box's title line).
std::string StaticTexts(HWND dialog);

// Processes the pending messages of this thread.
void PumpMessages();

}  // namespace test
