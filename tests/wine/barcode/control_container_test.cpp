// QRNBarCode hosted by the test container: site and ambient properties, default font,
// in-place activation, AutoSize, painting (also through PrintWindow), mouse events,
// property-change notifications, quick activation and the metafile picture.
#include <windows.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QRNBC10_h.h"
#include "canvas.h"
#include "com_client.h"
#include "event_recorder.h"
#include "test_container.h"

namespace {

using test::Hex;

// The default caption QUARENT in Code 128: START A, 7 characters, check (11 modules each)
// and the 13-module stop.
constexpr LONG kDefaultModules = 11 * (1 + 7 + 1) + 13;
constexpr LONG kQuietZones = 2 * 635;

// Character height in 0.01 mm of the text font made from `fontDisp` (height -size/250, that is
// 40 units per point), measured on the screen.
LONG TextHeightOf(IFontDisp* fontDisp) {
  IFont* fontObject = nullptr;
  fontDisp->QueryInterface(IID_IFont, reinterpret_cast<void**>(&fontObject));
  BSTR face = nullptr;
  CY size = {};
  fontObject->get_Name(&face);
  fontObject->get_Size(&size);
  fontObject->Release();
  HDC screen = GetDC(nullptr);
  const int saved = SaveDC(screen);
  SetMapMode(screen, MM_HIMETRIC);
  LOGFONTW logical = {};
  logical.lfHeight = static_cast<LONG>(-(size.int64 / 250));
  logical.lfWeight = FW_NORMAL;
  lstrcpynW(logical.lfFaceName, face, LF_FACESIZE);
  SysFreeString(face);
  HFONT font = CreateFontIndirectW(&logical);
  HGDIOBJ previous = SelectObject(screen, font);
  TEXTMETRICW metrics = {};
  GetTextMetricsW(screen, &metrics);
  SelectObject(screen, previous);
  DeleteObject(font);
  RestoreDC(screen, saved);
  ReleaseDC(nullptr, screen);
  return metrics.tmHeight;
}

SIZEL ExtentOf(IQRNBarCode* control, HRESULT* status = nullptr) {
  IOleObject* object = nullptr;
  control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object));
  SIZEL size = {-1, -1};
  const HRESULT result = object->GetExtent(DVASPECT_CONTENT, &size);
  if (status) *status = result;
  object->Release();
  return size;
}

class ContainerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test::RegisterBarCodeServer()); }
};

TEST_F(ContainerTest, BackColorFollowsTheAmbientColourUntilSet) {
  struct Row {
    const char* name;
    bool hasAmbient;
    VARTYPE type;
    OLE_COLOR ambient;
    OLE_COLOR expected;
  };
  const Row rows[] = {{"ambient colour", true, VT_I4, 0x00123456, 0x00123456},
                      {"system colour, signed", true, VT_I4, 0x8000000F, 0x8000000F},
                      {"system colour, unsigned", true, VT_UI4, 0x8000000F, 0x8000000F},
                      {"no ambient colour", false, VT_I4, 0, 0xFFFFFF}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::HostedControl control(false);
    control.Site().hasAmbientBackColor = row.hasAmbient;
    control.Site().ambientBackColorType = row.type;
    control.Site().ambientBackColor = row.ambient;
    IOleObject* object = control.As<IOleObject>(IID_IOleObject);
    ASSERT_EQ(S_OK, object->SetClientSite(&control.Site()));
    OLE_COLOR color = 1;
    EXPECT_EQ(S_OK, control->get_BackColor(&color));
    EXPECT_EQ(row.expected, color);
    object->Release();
  }

  test::HostedControl control(false);
  control.Site().hasAmbientBackColor = true;
  control.Site().ambientBackColor = 0x00AABBCC;
  ASSERT_EQ(S_OK, control->put_BackColor(0x00010203));
  IOleObject* object = control.As<IOleObject>(IID_IOleObject);
  ASSERT_EQ(S_OK, object->SetClientSite(&control.Site()));
  IOleControl* oleControl = control.As<IOleControl>(IID_IOleControl);
  EXPECT_EQ(S_OK, oleControl->OnAmbientPropertyChange(DISPID_AMBIENT_BACKCOLOR));
  OLE_COLOR color = 1;
  control->get_BackColor(&color);
  EXPECT_EQ(0x00010203u, color) << "a colour the client set stays";
  oleControl->Release();
  object->Release();
}

// The properties of a font object, as text, for comparisons.
std::string FontSummary(IFontDisp* fontDisp) {
  IFont* font = nullptr;
  if (fontDisp == nullptr || FAILED(fontDisp->QueryInterface(IID_IFont, reinterpret_cast<void**>(&font)))) return "none";
  BSTR name = nullptr;
  CY size = {};
  BOOL bold = FALSE, italic = FALSE, underline = FALSE, strike = FALSE;
  SHORT weight = 0, charset = -1;
  font->get_Name(&name);
  font->get_Size(&size);
  font->get_Bold(&bold);
  font->get_Italic(&italic);
  font->get_Underline(&underline);
  font->get_Strikethrough(&strike);
  font->get_Weight(&weight);
  font->get_Charset(&charset);
  const std::string text = test::Narrow(name ? name : L"") + " size " + std::to_string(size.int64) + " weight " +
                           std::to_string(weight) + " charset " + std::to_string(charset) + " flags " +
                           std::to_string(bold) + std::to_string(italic) + std::to_string(underline) +
                           std::to_string(strike);
  SysFreeString(name);
  font->Release();
  return text;
}

TEST_F(ContainerTest, TheSiteBringsTheDefaultFont) {
  test::HostedControl control;
  IFontDisp* font = nullptr;
  ASSERT_EQ(S_OK, control->get_Font(&font));
  ASSERT_NE(nullptr, font);
  // The platform's font object reports the face it realized: compare with one made from
  // the default's description.
  IFontDisp* expected = test::MakeFont(L"Arial Narrow", 10);
  EXPECT_EQ(FontSummary(expected), FontSummary(font));
  EXPECT_NE(std::string::npos, FontSummary(font).find("weight 400 charset 0 flags 0000"));
  expected->Release();
  font->Release();
}

TEST_F(ContainerTest, InPlaceActivationGivesAChildWindowAtThePosition) {
  test::HostedControl control;
  ASSERT_EQ(S_OK, control.Activate());
  HWND window = control.ControlWindow();
  ASSERT_NE(nullptr, window);
  EXPECT_EQ(control.Site().Window(), GetParent(window));
  EXPECT_TRUE(IsWindowVisible(window));
  RECT bounds;
  GetWindowRect(window, &bounds);
  MapWindowPoints(nullptr, control.Site().Window(), reinterpret_cast<POINT*>(&bounds), 2);
  EXPECT_EQ(10, bounds.left);
  EXPECT_EQ(20, bounds.top);
  EXPECT_EQ(310, bounds.right);
  EXPECT_EQ(120, bounds.bottom);
  EXPECT_EQ(1, control.Site().inPlaceActivations);

  IOleInPlaceObject* inPlace = control.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
  EXPECT_EQ(S_OK, inPlace->InPlaceDeactivate());
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(1, control.Site().inPlaceDeactivations);
  inPlace->Release();
}

TEST_F(ContainerTest, AutoSizeMakesTheExtentTheValidSizePlusATenth) {
  test::HostedControl control(true, true);
  ASSERT_EQ(S_OK, control->put_AutoSize(VARIANT_TRUE));
  const LONG validWidth = 35 * kDefaultModules + kQuietZones;
  IFontDisp* font = nullptr;
  ASSERT_EQ(S_OK, control->get_Font(&font));
  const LONG validHeight = 635 + TextHeightOf(font);  // 15 % of the symbol is below 635
  font->Release();
  LONG cx = 0, cy = 0;
  VARIANT_BOOL valid = VARIANT_FALSE;
  ASSERT_EQ(S_OK, control->GetValidSize(&cx, &cy, &valid));
  EXPECT_EQ(VARIANT_TRUE, valid);
  EXPECT_EQ(validWidth, cx);
  EXPECT_EQ(validHeight, cy);

  const SIZEL extent = ExtentOf(control.Get());
  EXPECT_EQ(validWidth + validWidth / 10, extent.cx);
  EXPECT_EQ(validHeight + validHeight / 10, extent.cy);
  // The site learns the new position in screen pixels: (96 x length + 1270) / 2540.
  EXPECT_GE(control.Site().positionChanges, 1);
  EXPECT_GE(control.Site().layoutRequests, 1);
  EXPECT_EQ(10, control.Site().lastPosition.left);
  EXPECT_EQ(10 + (96 * extent.cx + 1270) / 2540, control.Site().lastPosition.right);
  EXPECT_EQ(20 + (96 * extent.cy + 1270) / 2540, control.Site().lastPosition.bottom);

  // A container cannot give an auto-sized control another extent.
  IOleObject* object = control.As<IOleObject>(IID_IOleObject);
  SIZEL asked = {20000, 9000};
  EXPECT_EQ(S_OK, object->SetExtent(DVASPECT_CONTENT, &asked));
  SIZEL now = ExtentOf(control.Get());
  EXPECT_EQ(extent.cx, now.cx);
  EXPECT_EQ(extent.cy, now.cy);

  // A wider module widens the extent at once.
  ASSERT_EQ(S_OK, control->put_BarWidth(70));
  now = ExtentOf(control.Get());
  const LONG widerWidth = 70 * kDefaultModules + kQuietZones;
  EXPECT_EQ(widerWidth + widerWidth / 10, now.cx);

  // Without a caption there is no valid size: the extent stays and the request fails.
  test::Bstr empty(L"");
  ASSERT_EQ(S_OK, control->put_Caption(empty.Get()));
  HRESULT status = S_OK;
  ExtentOf(control.Get(), &status);
  EXPECT_TRUE(FAILED(status)) << Hex(status);
  EXPECT_TRUE(FAILED(object->SetExtent(DVASPECT_CONTENT, &asked)));
  object->Release();
}

TEST_F(ContainerTest, AFontChangeResizesAnAutoSizedControl) {
  test::HostedControl control(true, true);
  ASSERT_EQ(S_OK, control->put_AutoSize(VARIANT_TRUE));
  const SIZEL before = ExtentOf(control.Get());
  IFontDisp* fontDisp = nullptr;
  ASSERT_EQ(S_OK, control->get_Font(&fontDisp));
  IFont* font = nullptr;
  fontDisp->QueryInterface(IID_IFont, reinterpret_cast<void**>(&font));
  CY size;
  size.int64 = 30 * 10000;
  ASSERT_EQ(S_OK, font->put_Size(size));
  const SIZEL after = ExtentOf(control.Get());
  EXPECT_EQ(before.cx, after.cx);
  EXPECT_GT(after.cy, before.cy + 700) << "30 pt text needs a far higher band than 10 pt";
  font->Release();
  fontDisp->Release();
}

TEST_F(ContainerTest, PaintingSetsIsBarValidBySize) {
  test::HostedControl control(true, true);
  HWND window = control.ControlWindow();
  ASSERT_NE(nullptr, window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  VARIANT_BOOL valid = VARIANT_FALSE;
  control->get_IsBarValid(&valid);
  EXPECT_EQ(VARIANT_TRUE, valid) << "300 x 100 pixels hold the default barcode";

  IOleInPlaceObject* inPlace = control.As<IOleInPlaceObject>(IID_IOleInPlaceObject);
  RECT narrow = {10, 20, 110, 120};  // 100 pixels are 2646 units, less than 5190
  ASSERT_EQ(S_OK, inPlace->SetObjectRects(&narrow, &narrow));
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  control->get_IsBarValid(&valid);
  EXPECT_EQ(VARIANT_FALSE, valid);
  inPlace->Release();
}

TEST_F(ContainerTest, PrintWindowGivesThePictureTheScreenShows) {
  test::HostedControl control;
  control.Site().position = {10, 20, 470, 170};
  ASSERT_EQ(S_OK, control->put_BarWidth(80));
  ASSERT_EQ(S_OK, control->put_BackColor(RGB(0xFF, 0xFF, 0xE0)));
  ASSERT_EQ(S_OK, control.Activate());
  HWND window = control.ControlWindow();
  ASSERT_NE(nullptr, window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  test::Canvas screen(460, 150);
  HDC windowDc = GetDC(window);
  ASSERT_TRUE(BitBlt(screen.Dc(), 0, 0, 460, 150, windowDc, 0, 0, SRCCOPY));
  ReleaseDC(window, windowDc);
  test::Canvas printed(460, 150);
  ASSERT_TRUE(PrintWindow(window, printed.Dc(), 0));

  EXPECT_EQ(0xFFFFE0u, screen.Pixel(2, 2)) << "the screen shows the control's background";
  EXPECT_EQ(0xFFFFE0u, printed.Pixel(2, 2)) << "the background is printed too";
  // Rows through the bars: the same dark and light pixels in both.
  int darkPixels = 0;
  int differing = 0;
  for (int y = 0; y < 100; y += 3) {
    for (int x = 0; x < 460; ++x) {
      darkPixels += printed.IsDark(x, y);
      differing += printed.IsDark(x, y) != screen.IsDark(x, y);
    }
  }
  EXPECT_GT(darkPixels, 34 * 100) << "bars in the printed picture";
  EXPECT_EQ(0, differing);
}

TEST_F(ContainerTest, MouseMessagesBecomeEventsWithTheDoubleClickRule) {
  test::HostedControl control(true, true);
  HWND window = control.ControlWindow();
  ASSERT_NE(nullptr, window);
  test::EventRecorder* sink = new test::EventRecorder(DIID__IQRNBarCodeEvents);
  std::vector<std::string> types;
  sink->hook = [&types](DISPID, DISPPARAMS* parameters) {
    std::string text;
    for (UINT index = parameters->cArgs; index > 0; --index) {
      text += std::to_string(parameters->rgvarg[index - 1].vt) + (index > 1 ? "," : "");
    }
    types.push_back(text);
  };
  {
    test::Connection connection(control.Get(), DIID__IQRNBarCodeEvents, sink);
    ASSERT_EQ(S_OK, connection.Status());
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 7));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 7));
    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 7));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(6, 8));
    EXPECT_EQ("-605(1,0,5,7) -607(1,0,5,7) -600() -601() -607(1,0,6,8)", sink->Summary());
    ASSERT_FALSE(types.empty());
    EXPECT_EQ("2,2,3,3", types.front()) << "Button and Shift 16-bit, x and y 32-bit";
    sink->Clear();

    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(1, 2));
    SendMessageW(window, WM_MBUTTONUP, 0, MAKELPARAM(1, 2));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON | MK_MBUTTON, MAKELPARAM(65535, 3));
    EXPECT_EQ("-605(2,0,1,2) -607(4,0,1,2) -600() -606(5,0,65535,3)", sink->Summary());
    sink->Clear();

    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
    keys[VK_SHIFT] = 0;
    keys[VK_CONTROL] = 0;
    keys[VK_MENU] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(3, 4));
    keys[VK_MENU] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ("-606(0,3,3,4) -606(0,4,3,4)", sink->Summary());
  }
  sink->Release();
}

TEST_F(ContainerTest, VisibleHidesTheWindowOnlyAtRunTime) {
  struct Row {
    const char* name;
    bool userMode;
    bool visibleAfterHide;
  };
  const Row rows[] = {{"run time", true, false}, {"design time", false, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::HostedControl control(false);
    control.Site().hasAmbientUserMode = true;
    control.Site().ambientUserMode = row.userMode;
    ASSERT_EQ(S_OK, control.Activate());
    HWND window = control.ControlWindow();
    ASSERT_EQ(S_OK, control->put_Visible(VARIANT_FALSE));
    EXPECT_EQ(row.visibleAfterHide, IsWindowVisible(window) != FALSE);
    ASSERT_EQ(S_OK, control->put_Visible(VARIANT_TRUE));
    EXPECT_TRUE(IsWindowVisible(window));
  }
}

TEST_F(ContainerTest, AControlLoadedInvisibleStaysHiddenAtRunTime) {
  struct Row {
    const char* name;
    bool userMode;
    bool visible;
  };
  const Row rows[] = {{"run time", true, false}, {"design time", false, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::HostedControl control(false);
    control.Site().hasAmbientUserMode = true;
    control.Site().ambientUserMode = row.userMode;
    ASSERT_EQ(S_OK, control->put_Visible(VARIANT_FALSE));  // as a load before activation does
    ASSERT_EQ(S_OK, control.Activate());
    EXPECT_EQ(row.visible, IsWindowVisible(control.ControlWindow()) != FALSE);
  }
}

TEST_F(ContainerTest, ChangesAskPropertySinksAndReportToThem) {
  test::HostedControl control;
  test::PropertySink sink;
  test::Connection connection(control.Get(), IID_IPropertyNotifySink, &sink);
  ASSERT_EQ(S_OK, connection.Status());

  ASSERT_EQ(S_OK, control->put_BackColor(0x00112233));
  test::Bstr caption(L"NEW");
  ASSERT_EQ(S_OK, control->put_Caption(caption.Get()));
  EXPECT_EQ("R-501 C-501 R-518 C-518", sink.calls);

  sink.calls.clear();
  sink.answer = S_FALSE;
  EXPECT_EQ(S_FALSE, control->put_ForeColor(0x00445566));
  test::Bstr refused(L"REFUSED");
  EXPECT_EQ(S_FALSE, control->put_Caption(refused.Get()));
  EXPECT_EQ("R-513 R-518", sink.calls);
  OLE_COLOR color = 0;
  control->get_ForeColor(&color);
  EXPECT_EQ(0u, color);
  BSTR now = nullptr;
  control->get_Caption(&now);
  EXPECT_STREQ(L"NEW", now);
  SysFreeString(now);
}

TEST_F(ContainerTest, FailingPropertySinksStopACaptionButNotAColour) {
  struct Row {
    const char* name;
    HRESULT requestAnswer;
    HRESULT changedAnswer;
    HRESULT captionStatus;
    const char* calls;
  };
  // A failing permission request stops the caption with its status; a failing change report
  // puts the previous caption back and returns the failure. Colours only heed a refusal.
  const Row rows[] = {
      {"request fails", E_ACCESSDENIED, S_OK, E_ACCESSDENIED, "R-513 C-513 R-518"},
      {"report fails", S_OK, E_ACCESSDENIED, E_ACCESSDENIED, "R-513 C-513 R-518 C-518"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::HostedControl control;
    test::PropertySink sink;
    sink.answer = row.requestAnswer;
    sink.changedAnswer = row.changedAnswer;
    test::Connection connection(control.Get(), IID_IPropertyNotifySink, &sink);
    ASSERT_EQ(S_OK, connection.Status());
    EXPECT_EQ(S_OK, control->put_ForeColor(0x00445566));
    test::Bstr caption(L"CHANGED");
    EXPECT_EQ(row.captionStatus, control->put_Caption(caption.Get()));
    EXPECT_EQ(row.calls, sink.calls);
    OLE_COLOR color = 0;
    control->get_ForeColor(&color);
    EXPECT_EQ(0x00445566u, color);
    BSTR now = nullptr;
    control->get_Caption(&now);
    EXPECT_STREQ(L"QUARENT", now);
    SysFreeString(now);
  }
}

int CALLBACK NoteFirstType(const LOGFONTW*, const TEXTMETRICW*, DWORD type, LPARAM first) {
  *reinterpret_cast<DWORD*>(first) = type;
  return 0;
}

// A face whose first family in character set 0 is a raster font and that the platform's
// font object keeps by that name; empty when there is none.
std::wstring RasterFace() {
  HDC screen = GetDC(nullptr);
  std::wstring found;
  for (const wchar_t* face : {L"System", L"Terminal", L"Courier", L"Small Fonts", L"MS Sans Serif", L"Fixedsys"}) {
    LOGFONTW wanted = {};
    wanted.lfCharSet = 0;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    DWORD type = 0xFFFFFFFF;
    EnumFontFamiliesExW(screen, &wanted, &NoteFirstType, reinterpret_cast<LPARAM>(&type), 0);
    if (type == 0xFFFFFFFF || (type & TRUETYPE_FONTTYPE)) continue;
    IFontDisp* font = test::MakeFont(face);
    const bool kept = FontSummary(font).rfind(test::Narrow(face) + " ", 0) == 0;
    font->Release();
    if (kept) {
      found = face;
      break;
    }
  }
  ReleaseDC(nullptr, screen);
  return found;
}

TEST_F(ContainerTest, FontMustBeATrueTypeFontOnceTheControlHasAWindow) {
  test::HostedControl control(true, true);
  IFontDisp* trueType = test::MakeFont(L"DejaVu Sans");
  // A raster face is refused too, where the machine has one.
  const std::wstring rasterFace = RasterFace();
  IFontDisp* raster = rasterFace.empty() ? nullptr : test::MakeFont(rasterFace.c_str());
  ASSERT_NE(nullptr, trueType);
  EXPECT_EQ(S_OK, control->put_Font(trueType));
  IFontDisp* stored = nullptr;
  control->get_Font(&stored);
  EXPECT_NE(trueType, stored) << "put stores a copy";
  stored->Release();
  EXPECT_EQ(S_OK, control->putref_Font(trueType));
  control->get_Font(&stored);
  EXPECT_EQ(trueType, stored) << "putref stores the object";
  stored->Release();

  const wchar_t* fontText = L"The Font Property must be a TrueType Font!";
  struct Row {
    const char* name;
    IFontDisp* font;
    bool available;
  };
  const Row rows[] = {{"not a font", reinterpret_cast<IFontDisp*>(static_cast<IDispatch*>(control.Get())), true},
                      {"null", nullptr, true},
                      {"raster font", raster, raster != nullptr}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    if (!row.available) continue;
    EXPECT_EQ(E_INVALIDARG, control->putref_Font(row.font));
    const test::ErrorInfoText error = test::TakeErrorInfo();
    EXPECT_EQ(std::wstring(fontText), error.description);
  }
  control->get_Font(&stored);
  EXPECT_EQ(trueType, stored) << "a refused font leaves the old one";
  stored->Release();
  if (raster) raster->Release();
  trueType->Release();
}

TEST_F(ContainerTest, QuickActivationConnectsTheContainersSinks) {
  test::HostedControl control(false);
  test::EventRecorder* events = new test::EventRecorder(DIID__IQRNBarCodeEvents);
  test::PropertySink properties;
  IQuickActivate* quick = control.As<IQuickActivate>(IID_IQuickActivate);
  QACONTAINER container = {};
  container.cbSize = sizeof(container);
  container.pClientSite = &control.Site();
  container.pUnkEventSink = events;
  container.pPropertyNotifySink = &properties;
  QACONTROL answer = {};
  answer.cbSize = sizeof(answer);
  ASSERT_EQ(S_OK, quick->QuickActivate(&container, &answer));
  EXPECT_EQ(131473u, answer.dwMiscStatus);
  EXPECT_NE(0u, answer.dwEventCookie);
  EXPECT_NE(0u, answer.dwPropNotifyCookie);
  ASSERT_EQ(S_OK, control.Activate());
  SendMessageW(control.ControlWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1));
  EXPECT_EQ("-605(1,0,1,1)", events->Summary());
  control->put_BarWidth(40);
  EXPECT_NE(std::string::npos, properties.calls.find("C1004"));
  IOleObject* object = control.As<IOleObject>(IID_IOleObject);
  object->Close(OLECLOSE_NOSAVE);
  object->Release();
  quick->Release();
  events->Release();
}

// Collects the text records of a metafile.
int CALLBACK CollectText(HDC, HANDLETABLE*, METARECORD* record, int, LPARAM collected) {
  auto* texts = reinterpret_cast<std::vector<std::string>*>(collected);
  if (record->rdFunction == META_EXTTEXTOUT) {
    const WORD* parameters = record->rdParm;
    const int length = parameters[2];
    const WORD options = parameters[3];
    const char* text = reinterpret_cast<const char*>(parameters + 4 + ((options & (ETO_OPAQUE | ETO_CLIPPED)) ? 4 : 0));
    texts->emplace_back(text, length);
  } else if (record->rdFunction == META_TEXTOUT) {
    const WORD* parameters = record->rdParm;
    texts->emplace_back(reinterpret_cast<const char*>(parameters + 1), parameters[0]);
  }
  return 1;
}

TEST_F(ContainerTest, MetafilePictureShowsTheNotSupportedNotice) {
  test::HostedControl control;
  IDataObject* data = control.As<IDataObject>(IID_IDataObject);
  FORMATETC format = {CF_METAFILEPICT, nullptr, DVASPECT_CONTENT, -1, TYMED_MFPICT};
  EXPECT_EQ(S_OK, data->QueryGetData(&format));
  FORMATETC bitmap = {CF_BITMAP, nullptr, DVASPECT_CONTENT, -1, TYMED_GDI};
  EXPECT_EQ(DV_E_FORMATETC, data->QueryGetData(&bitmap));
  STGMEDIUM medium = {};
  ASSERT_EQ(S_OK, data->GetData(&format, &medium));
  ASSERT_EQ(static_cast<DWORD>(TYMED_MFPICT), medium.tymed);
  auto* picture = static_cast<METAFILEPICT*>(GlobalLock(medium.hMetaFilePict));
  ASSERT_NE(nullptr, picture);
  const SIZEL extent = ExtentOf(control.Get());
  EXPECT_EQ(MM_ANISOTROPIC, picture->mm);
  EXPECT_EQ(extent.cx, picture->xExt);
  EXPECT_EQ(extent.cy, picture->yExt);
  std::vector<std::string> texts;
  HDC screen = GetDC(nullptr);
  EnumMetaFile(screen, picture->hMF, &CollectText, reinterpret_cast<LPARAM>(&texts));
  ReleaseDC(nullptr, screen);
  GlobalUnlock(medium.hMetaFilePict);
  ReleaseStgMedium(&medium);
  ASSERT_EQ(1u, texts.size());
  EXPECT_EQ("NOT SUPPORTED", texts[0]);
  data->Release();
}

}  // namespace
