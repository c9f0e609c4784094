// QRNBCPage: loading the fields, the dirty state, and Apply with its order, its error
// messages and the reload of a refused field.
#include <windows.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "QRNBC10_h.h"
#include "com_client.h"
#include "dialog_watcher.h"
#include "event_recorder.h"
#include "persistence_support.h"
#include "test_container.h"

namespace {

using test::Hex;

// Field ids of dialog 1010.
enum Field {
  kCaption = 201,
  kAutoSize = 202,
  kBarAlignment = 203,
  kTextAlignment = 204,
  kBarWidth = 205,
  kTextShow = 206,
  kPrefix = 207,
  kSuffix = 209,
  kOrientation = 210,
  kStyle = 211,
};

class PageSite : public IPropertyPageSite {
 public:
  DWORD lastStatus = 0;
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPropertyPageSite)) {
      *object = static_cast<IPropertyPageSite*>(this);
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP OnStatusChange(DWORD flags) override {
    lastStatus = flags;
    return S_OK;
  }
  STDMETHODIMP GetLocaleID(LCID* locale) override {
    *locale = LOCALE_USER_DEFAULT;
    return S_OK;
  }
  STDMETHODIMP GetPageContainer(IUnknown** container) override {
    *container = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP TranslateAccelerator(MSG*) override { return S_FALSE; }
};

class PropertyPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test::RegisterBarCodeServer());
    hosted_ = std::make_unique<test::HostedControl>();
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_QRNBCPage, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                                     reinterpret_cast<void**>(&page_)));
    ASSERT_EQ(S_OK, page_->SetPageSite(&site_));
    IUnknown* object = hosted_->Get();
    ASSERT_EQ(S_OK, page_->SetObjects(1, &object));
    RECT where = {0, 0, 400, 350};
    ASSERT_EQ(S_OK, page_->Activate(hosted_->Site().Window(), &where, FALSE));
    dialog_ = FindWindowExA(hosted_->Site().Window(), nullptr, "#32770", nullptr);
    ASSERT_NE(nullptr, dialog_);
  }
  void TearDown() override {
    if (page_) {
      page_->Deactivate();
      page_->SetObjects(0, nullptr);
      page_->SetPageSite(nullptr);
      page_->Release();
    }
    hosted_.reset();
  }

  std::string Text(int field) {
    char text[512] = {};
    GetDlgItemTextA(dialog_, field, text, sizeof text);
    return text;
  }
  void SetText(int field, const char* text) { SetDlgItemTextA(dialog_, field, text); }
  int Selection(int list) { return static_cast<int>(SendDlgItemMessageA(dialog_, list, CB_GETCURSEL, 0, 0)); }
  void Select(int list, int position) {
    SendDlgItemMessageA(dialog_, list, CB_SETCURSEL, position, 0);
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(list, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(dialog_, list)));
  }
  void Click(int box) {
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(box, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog_, box)));
  }
  // Shows the page again, for `objects`.
  void Reopen(std::vector<IUnknown*> objects) {
    page_->Deactivate();
    ASSERT_EQ(S_OK, page_->SetObjects(static_cast<ULONG>(objects.size()), objects.data()));
    RECT where = {0, 0, 400, 350};
    ASSERT_EQ(S_OK, page_->Activate(hosted_->Site().Window(), &where, FALSE));
    dialog_ = FindWindowExA(hosted_->Site().Window(), nullptr, "#32770", nullptr);
    ASSERT_NE(nullptr, dialog_);
  }
  std::wstring Caption() {
    BSTR caption = nullptr;
    hosted_->Get()->get_Caption(&caption);
    std::wstring text = caption ? caption : L"";
    SysFreeString(caption);
    return text;
  }

  std::unique_ptr<test::HostedControl> hosted_;
  PageSite site_;
  IPropertyPage* page_ = nullptr;
  HWND dialog_ = nullptr;
};

TEST_F(PropertyPageTest, DescribesItselfWithItsTitleAndSize) {
  PROPPAGEINFO info = {};
  ASSERT_EQ(S_OK, page_->GetPageInfo(&info));
  EXPECT_STREQ(L"&BarCode", info.pszTitle);
  EXPECT_GT(info.size.cx, 223);  // 223 x 191 dialog units are more pixels than units
  EXPECT_GT(info.size.cy, 191);
  EXPECT_EQ(nullptr, info.pszHelpFile);
  EXPECT_EQ(nullptr, info.pszDocString);
  CoTaskMemFree(info.pszTitle);
}

TEST_F(PropertyPageTest, LoadsTheFieldsAndListsFromTheControl) {
  EXPECT_EQ("QUARENT", Text(kCaption));
  EXPECT_EQ("35", Text(kBarWidth));
  EXPECT_EQ("", Text(kPrefix));
  EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog_, kTextShow));
  EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog_, kAutoSize));
  EXPECT_EQ(2, Selection(kTextAlignment)) << "qrnCenter";
  EXPECT_EQ(0, Selection(kBarAlignment));
  EXPECT_EQ(0, Selection(kOrientation));
  EXPECT_EQ(0, Selection(kStyle));
  struct Row {
    int list;
    int position;
    const char* item;
  };
  const Row rows[] = {{kStyle, 0, "1 - qrnBarCode128"},       {kStyle, 7, "8 - qrnBarCodeCodeabar"},
                      {kStyle, 8, "9 - qrnBarCodeMSI"},       {kOrientation, 2, "3 - qrnVerticallyDown"},
                      {kBarAlignment, 1, "2 - qrnRight"},     {kTextAlignment, 2, "3 - qrnCenter"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.item);
    char item[64] = {};
    SendDlgItemMessageA(dialog_, row.list, CB_GETLBTEXT, row.position, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(row.item, item);
  }
  EXPECT_EQ(9, SendDlgItemMessageA(dialog_, kStyle, CB_GETCOUNT, 0, 0));
  EXPECT_EQ(S_FALSE, page_->IsPageDirty());
}

TEST_F(PropertyPageTest, AnEditMakesThePageDirty) {
  SetText(kPrefix, "<");
  EXPECT_EQ(S_OK, page_->IsPageDirty());
  EXPECT_EQ(static_cast<DWORD>(PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE), site_.lastStatus);
}

TEST_F(PropertyPageTest, EveryFieldMarksThePageChanged) {
  struct Row {
    const char* name;
    std::function<void()> edit;
  };
  const Row rows[] = {
      {"caption", [&] { SetText(kCaption, "EDITED"); }},
      {"band width", [&] { SetText(kBarWidth, "40"); }},
      {"prefix", [&] { SetText(kPrefix, "<"); }},
      {"suffix", [&] { SetText(kSuffix, ">"); }},
      {"AutoSize", [&] { Click(kAutoSize); }},
      {"Show Text", [&] { Click(kTextShow); }},
      {"bar alignment", [&] { Select(kBarAlignment, 1); }},
      {"text alignment", [&] { Select(kTextAlignment, 1); }},
      {"orientation", [&] { Select(kOrientation, 1); }},
      {"style", [&] { Select(kStyle, 2); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_EQ(S_OK, page_->Apply());
    ASSERT_EQ(S_FALSE, page_->IsPageDirty());
    site_.lastStatus = 0;
    row.edit();
    EXPECT_EQ(S_OK, page_->IsPageDirty());
    EXPECT_EQ(static_cast<DWORD>(PROPPAGESTATUS_DIRTY | PROPPAGESTATUS_VALIDATE), site_.lastStatus);
  }
}

TEST_F(PropertyPageTest, ApplyWritesANewStyleAndItsCaptionTogether) {
  Select(kStyle, 4);  // qrnBarCode39
  SetText(kCaption, "NEW CODE 39");
  SetText(kBarWidth, "60");
  SetText(kPrefix, "(");
  SetText(kSuffix, ")");
  Select(kOrientation, 1);
  Select(kBarAlignment, 2);
  Select(kTextAlignment, 0);
  CheckDlgButton(dialog_, kAutoSize, BST_CHECKED);
  CheckDlgButton(dialog_, kTextShow, BST_UNCHECKED);
  ASSERT_EQ(S_OK, page_->Apply()) << "the caption is emptied first, so the old caption never meets the new style";
  EXPECT_EQ(S_FALSE, page_->IsPageDirty());
  Constants_BarCodeSel style;
  hosted_->Get()->get_BarStyle(&style);
  EXPECT_EQ(qrnBarCode39, style);
  EXPECT_EQ(L"NEW CODE 39", Caption());
  LONG width = 0;
  hosted_->Get()->get_BarWidth(&width);
  EXPECT_EQ(60, width);
  Constants_Orientation orientation;
  hosted_->Get()->get_BarOrientation(&orientation);
  EXPECT_EQ(qrnVerticallyUp, orientation);
  Constants_Alignment alignment;
  hosted_->Get()->get_BarAlignment(&alignment);
  EXPECT_EQ(qrnCenter, alignment);
  hosted_->Get()->get_TextAlignment(&alignment);
  EXPECT_EQ(qrnLeft, alignment);
  VARIANT_BOOL flag = 0;
  hosted_->Get()->get_AutoSize(&flag);
  EXPECT_NE(VARIANT_FALSE, flag);
  hosted_->Get()->get_TextShow(&flag);
  EXPECT_EQ(VARIANT_FALSE, flag);
}

TEST_F(PropertyPageTest, ApplyWritesEveryObjectInOrderAndStopsAtTheFirstFailure) {
  // A second selected control whose caption is lower case; the first one takes its values.
  test::HostedControl second;
  test::Bstr lower(L"lower case");
  ASSERT_EQ(S_OK, second->put_Caption(lower.Get()));
  IUnknown* objects[] = {hosted_->Get(), second.Get()};
  ASSERT_EQ(S_OK, page_->SetObjects(2, objects));
  test::PropertySink firstSink;
  test::PropertySink secondSink;
  test::Connection firstConnection(hosted_->Get(), IID_IPropertyNotifySink, &firstSink);
  test::Connection secondConnection(second.Get(), IID_IPropertyNotifySink, &secondSink);
  ASSERT_EQ(S_OK, firstConnection.Status());
  ASSERT_EQ(S_OK, secondConnection.Status());
  CheckDlgButton(dialog_, kAutoSize, BST_CHECKED);  // AutoSize reports only a change
  Select(kStyle, 4);                                // qrnBarCode39
  SetText(kCaption, "ORDER");

  // The first control changes in the page's order: caption emptied, TextShow, TextSuffix,
  // TextPrefix, BarAlignment, BarOrientation, TextAlignment, AutoSize, BarStyle, BarWidth,
  // caption written. The second one's lower-case caption is emptied first, so qrnBarCode39 is
  // accepted there too.
  const char* order = "R-518 C-518 C1001 C1003 C1002 C1006 C1007 C1005 C-500 C1000 C1004 R-518 C-518";
  ASSERT_EQ(S_OK, page_->Apply());
  EXPECT_EQ(order, firstSink.calls);
  EXPECT_EQ(order, secondSink.calls);
  EXPECT_EQ(L"ORDER", Caption());

  // A refusal at the first object stops the whole Apply: the second is not written.
  firstSink.calls.clear();
  secondSink.calls.clear();
  SetText(kCaption, "refused");
  std::string message;
  const HRESULT status =
      test::WithDialog([&] { return page_->Apply(); }, [&](HWND box) { message = test::StaticTexts(box); });
  EXPECT_EQ(E_INVALIDARG, status) << Hex(status);
  // Written up to the refused caption, then put back as it was in the same order.
  EXPECT_EQ("R-518 C-518 C1001 C1003 C1002 C1006 C1007 C1005 C1000 C1004 "
            "R-518 C-518 C1001 C1003 C1002 C1006 C1007 C1005 C1000 C1004 R-518 C-518",
            firstSink.calls);
  EXPECT_EQ(L"ORDER", Caption());
  EXPECT_EQ("", secondSink.calls);
  EXPECT_EQ(S_OK, page_->IsPageDirty()) << "still changed";
}

TEST_F(PropertyPageTest, ARefusedCaptionShowsTheControlsTextAndIsReloaded) {
  Select(kStyle, 4);  // qrnBarCode39
  SetText(kCaption, "lower case");
  std::string message;
  const HRESULT status =
      test::WithDialog([&] { return page_->Apply(); }, [&](HWND box) { message = test::StaticTexts(box); });
  EXPECT_EQ(E_INVALIDARG, status) << Hex(status);
  EXPECT_EQ("Some caracters in the source field are not supported in this BarCode caracter set.", message);
  EXPECT_EQ(L"QUARENT", Caption()) << "the caption is put back";
  EXPECT_EQ("QUARENT", Text(kCaption)) << "the field shows the control's caption again";
  EXPECT_EQ(GetDlgItem(dialog_, kCaption), GetFocus());
  Constants_BarCodeSel style;
  hosted_->Get()->get_BarStyle(&style);
  EXPECT_EQ(qrnBarCode128, style) << "the steps before the refusal are put back";
}

TEST_F(PropertyPageTest, AnEmptyBandWidthWritesZeroAndIsRefused) {
  SetText(kBarWidth, "");
  std::string message;
  const HRESULT status =
      test::WithDialog([&] { return page_->Apply(); }, [&](HWND box) { message = test::StaticTexts(box); });
  EXPECT_EQ(E_INVALIDARG, status);
  EXPECT_EQ("Bar width must be between 0.20 mm. and 2.50 mm.\n(Unit are in hundredth of millimeters.)", message);
  EXPECT_EQ("35", Text(kBarWidth));
  EXPECT_EQ(GetDlgItem(dialog_, kBarWidth), GetFocus());
  EXPECT_EQ(L"QUARENT", Caption()) << "the caption emptied first is put back";
}

TEST_F(PropertyPageTest, ARefusedApplyLeavesEveryPropertyAsItWas) {
  const char* const widthText =
      "Bar width must be between 0.20 mm. and 2.50 mm.\n(Unit are in hundredth of millimeters.)";
  IFontDisp* notABarCode = test::MakeFont(L"DejaVu Sans");
  struct Row {
    const char* note;
    std::function<void(IQRNBarCode* control)> refusedEdit;
    const char* message;
  };
  const Row rows[] = {
      {"empty band width", [&](IQRNBarCode*) { SetText(kBarWidth, ""); }, widthText},
      {"band width 300", [&](IQRNBarCode*) { SetText(kBarWidth, "300"); }, widthText},
      {"overflowing band width", [&](IQRNBarCode*) { SetText(kBarWidth, "99999999999999999999"); }, widthText},
      {"Code 39 with a lower-case caption", [&](IQRNBarCode*) { SetText(kCaption, "lower case"); },
       "Some caracters in the source field are not supported in this BarCode caracter set."},
      // Nothing is loaded into the fields, so the empty bar alignment (0) is refused.
      {"a first object that is not a barcode", [&](IQRNBarCode* control) { Reopen({notABarCode, control}); },
       "Error updating property!"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.note);
    test::HostedControl control;
    Reopen({control.Get()});
    const std::string before = test::Snapshot(control.Get());
    // Values written before the refused one.
    Select(kStyle, 4);  // qrnBarCode39
    SetText(kCaption, "NEW CODE 39");
    SetText(kPrefix, "(");
    Select(kOrientation, 1);
    CheckDlgButton(dialog_, kTextShow, BST_UNCHECKED);
    row.refusedEdit(control.Get());
    std::string message;
    const HRESULT status =
        test::WithDialog([&] { return page_->Apply(); }, [&](HWND box) { message = test::StaticTexts(box); });
    EXPECT_EQ(E_INVALIDARG, status) << Hex(status);
    EXPECT_EQ(row.message, message) << "the refusal is still shown";
    EXPECT_EQ(before, test::Snapshot(control.Get()));
    page_->Deactivate();
    page_->SetObjects(0, nullptr);
  }
  notABarCode->Release();
}

TEST_F(PropertyPageTest, ARefusalWithoutTextShowsTheGeneralMessage) {
  SendDlgItemMessageA(dialog_, kOrientation, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);  // writes 0
  std::string message;
  const HRESULT status =
      test::WithDialog([&] { return page_->Apply(); }, [&](HWND box) { message = test::StaticTexts(box); });
  EXPECT_EQ(E_INVALIDARG, status);
  EXPECT_EQ("Error updating property!", message);
  EXPECT_EQ(0, Selection(kOrientation)) << "reloaded with qrnHorizontally";
}

}  // namespace
