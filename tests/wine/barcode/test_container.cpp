#include "test_container.h"

#include <gtest/gtest.h>

#include "com_client.h"
#include "processes.h"

namespace test {
namespace {

LRESULT CALLBACK ContainerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

// One apartment for the whole test program: leaving the last apartment of a thread after
// every test would unload the control's module each time.
class ProcessApartment : public ::testing::Environment {
 public:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override { CoUninitialize(); }
};
::testing::Environment* const processApartment = ::testing::AddGlobalTestEnvironment(new ProcessApartment);

// The container window, made once and kept for the whole program: under Wine's X11 driver
// destroying a visible top-level window waits two seconds for the window manager.
HWND ContainerWindow() {
  static HWND window = nullptr;
  if (window && IsWindow(window)) return window;
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = &ContainerProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"BarCodeTestContainer";
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RegisterClassW(&windowClass);
  window = CreateWindowExW(0, L"BarCodeTestContainer", L"container", WS_POPUP | WS_VISIBLE |
                         WS_CLIPCHILDREN, 0, 0, 640, 480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  return window;
}

}  // namespace

TestSite::TestSite() : window_(ContainerWindow()) {}

TestSite::~TestSite() = default;

STDMETHODIMP TestSite::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite)) {
    *object = static_cast<IOleClientSite*>(this);
  } else if (IsEqualIID(iid, IID_IOleInPlaceSite) || IsEqualIID(iid, IID_IOleWindow)) {
    *object = static_cast<IOleInPlaceSite*>(this);
  } else if (IsEqualIID(iid, IID_IDispatch)) {
    *object = static_cast<IDispatch*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) TestSite::AddRef() { return InterlockedIncrement(&references_); }

STDMETHODIMP_(ULONG) TestSite::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP TestSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP TestSite::GetContainer(IOleContainer** container) {
  if (container) *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP TestSite::RequestNewObjectLayout() {
  ++layoutRequests;
  return S_OK;
}

STDMETHODIMP TestSite::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = window_;
  return window_ ? S_OK : E_FAIL;
}

STDMETHODIMP TestSite::OnInPlaceActivate() {
  ++inPlaceActivations;
  return S_OK;
}

STDMETHODIMP TestSite::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT where,
                                        LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
  if (frame) *frame = nullptr;
  if (document) *document = nullptr;
  if (where) *where = position;
  if (clip) *clip = position;
  if (info) {
    info->fMDIApp = FALSE;
    info->hwndFrame = window_;
    info->haccel = nullptr;
    info->cAccelEntries = 0;
  }
  return S_OK;
}

STDMETHODIMP TestSite::OnInPlaceDeactivate() {
  ++inPlaceDeactivations;
  return S_OK;
}

STDMETHODIMP TestSite::OnPosRectChange(LPCRECT where) {
  ++positionChanges;
  lastPosition = *where;
  position = *where;
  if (inPlaceObject) inPlaceObject->SetObjectRects(where, where);
  return S_OK;
}

STDMETHODIMP TestSite::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return S_OK;
}

STDMETHODIMP TestSite::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*, UINT*) {
  if (result == nullptr) return E_POINTER;
  VariantInit(result);
  if (id == DISPID_AMBIENT_BACKCOLOR && hasAmbientBackColor) {
    result->vt = ambientBackColorType;
    result->ulVal = ambientBackColor;
    return S_OK;
  }
  if (id == DISPID_AMBIENT_USERMODE && hasAmbientUserMode) {
    result->vt = VT_BOOL;
    result->boolVal = ambientUserMode ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}

HostedControl::HostedControl(bool site, bool activate) : site_(new TestSite()) {
  const HRESULT status = CoCreateInstance(CLSID_QRNBarCode, nullptr, CLSCTX_INPROC_SERVER, IID_IQRNBarCode,
                                          reinterpret_cast<void**>(&control_));
  EXPECT_EQ(S_OK, status) << "creating the control: " << Hex(status);
  if (control_ == nullptr) return;
  site_->inPlaceObject = As<IOleInPlaceObject>(IID_IOleInPlaceObject);
  if (site || activate) {
    IOleObject* object = As<IOleObject>(IID_IOleObject);
    EXPECT_EQ(S_OK, object->SetClientSite(site_));
    object->Release();
    sited_ = true;
  }
  if (activate) {
    EXPECT_EQ(S_OK, Activate());
  }
}

HostedControl::~HostedControl() {
  if (control_) {
    IOleObject* object = As<IOleObject>(IID_IOleObject);
    object->Close(OLECLOSE_NOSAVE);
    object->SetClientSite(nullptr);
    object->Release();
    if (site_->inPlaceObject) site_->inPlaceObject->Release();
    site_->inPlaceObject = nullptr;
    control_->Release();
  }
  site_->Release();
}

HRESULT HostedControl::Activate() {
  IOleObject* object = As<IOleObject>(IID_IOleObject);
  if (!sited_) object->SetClientSite(site_);
  sited_ = true;
  const HRESULT status = object->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, site_, 0, site_->Window(), &site_->position);
  object->Release();
  return status;
}

HWND HostedControl::ControlWindow() const {
  HWND window = nullptr;
  if (site_->inPlaceObject) site_->inPlaceObject->GetWindow(&window);
  return window;
}

bool RegisterBarCodeServer() {
  static const long result = RegisterServer(L"QRNBC10.dll");
  return result == 0;
}

IFontDisp* MakeFont(const wchar_t* face, int points, bool bold) {
  FONTDESC description = {};
  description.cbSizeofstruct = sizeof(description);
  description.lpstrName = const_cast<LPOLESTR>(face);
  description.cySize.int64 = (points == 0 ? 10 : points) * 10000LL;
  description.sWeight = bold ? FW_BOLD : FW_NORMAL;
  IFontDisp* font = nullptr;
  OleCreateFontIndirect(&description, IID_IFontDisp, reinterpret_cast<void**>(&font));
  return font;
}

namespace {

BOOL CALLBACK CollectStaticText(HWND child, LPARAM collected) {
  char className[32] = {};
  GetClassNameA(child, className, sizeof className);
  if (lstrcmpiA(className, "Static") == 0) {
    char text[512] = {};
    GetWindowTextA(child, text, sizeof text);
    *reinterpret_cast<std::string*>(collected) += text;
  }
  return TRUE;
}

}  // namespace

std::string StaticTexts(HWND dialog) {
  std::string text;
  if (dialog) EnumChildWindows(dialog, &CollectStaticText, reinterpret_cast<LPARAM>(&text));
  return text;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace test
