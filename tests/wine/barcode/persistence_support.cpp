#include "persistence_support.h"

#include <olectl.h>

#include "com_client.h"

namespace test {

std::vector<BYTE> StreamBytes(IStream* stream) {
  STATSTG stat = {};
  stream->Stat(&stat, STATFLAG_NONAME);
  std::vector<BYTE> bytes(static_cast<size_t>(stat.cbSize.QuadPart));
  LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  if (!bytes.empty()) stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  return bytes;
}

IStream* StreamOf(const std::vector<BYTE>& bytes) {
  IStream* stream = nullptr;
  CreateStreamOnHGlobal(nullptr, TRUE, &stream);
  ULONG written = 0;
  if (!bytes.empty()) stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written);
  LARGE_INTEGER start = {};
  stream->Seek(start, STREAM_SEEK_SET, nullptr);
  return stream;
}

// Every property and the extent as one line of text, for comparisons.
std::string Snapshot(IQRNBarCode* control) {
  OLE_COLOR back = 0, fore = 0;
  VARIANT_BOOL autoSize = 0, visible = 0, textShow = 0;
  BSTR caption = nullptr, prefix = nullptr, suffix = nullptr;
  Constants_BarCodeSel style;
  Constants_Alignment textAlignment, barAlignment;
  Constants_Orientation orientation;
  LONG width = 0;
  control->get_BackColor(&back);
  control->get_ForeColor(&fore);
  control->get_AutoSize(&autoSize);
  control->get_Visible(&visible);
  control->get_TextShow(&textShow);
  control->get_Caption(&caption);
  control->get_TextPrefix(&prefix);
  control->get_TextSuffix(&suffix);
  control->get_BarStyle(&style);
  control->get_TextAlignment(&textAlignment);
  control->get_BarAlignment(&barAlignment);
  control->get_BarOrientation(&orientation);
  control->get_BarWidth(&width);
  IOleObject* object = nullptr;
  control->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object));
  SIZEL extent = {};
  object->GetExtent(DVASPECT_CONTENT, &extent);
  object->Release();
  std::string font = "no font";
  IFontDisp* fontDisp = nullptr;
  if (SUCCEEDED(control->get_Font(&fontDisp)) && fontDisp) {
    IFont* fontObject = nullptr;
    fontDisp->QueryInterface(IID_IFont, reinterpret_cast<void**>(&fontObject));
    BSTR name = nullptr;
    CY size = {};
    BOOL bold = FALSE;
    fontObject->get_Name(&name);
    fontObject->get_Size(&size);
    fontObject->get_Bold(&bold);
    font = Narrow(name ? name : L"") + "/" + std::to_string(size.int64) + "/" + std::to_string(bold);
    SysFreeString(name);
    fontObject->Release();
    fontDisp->Release();
  }
  auto text = [](BSTR value) { return Narrow(value ? value : L""); };
  std::string line = std::to_string(back) + " " + std::to_string(fore) + " " + std::to_string(autoSize) + " " +
                     std::to_string(visible) + " " + std::to_string(textShow) + " [" + text(caption) + "] [" +
                     text(prefix) + "] [" + text(suffix) + "] " + std::to_string(style) + " " +
                     std::to_string(textAlignment) + " " + std::to_string(barAlignment) + " " +
                     std::to_string(orientation) + " " + std::to_string(width) + " " + std::to_string(extent.cx) +
                     "x" + std::to_string(extent.cy) + " " + font;
  SysFreeString(caption);
  SysFreeString(prefix);
  SysFreeString(suffix);
  return line;
}

// Gives `control` a set of values none of which is a default; false (at the
// first refusal) when the control does not take one of them.
bool ChangeEverything(HostedControl& control) {
  Bstr caption(L"SAVED 123");
  Bstr prefix(L"<");
  Bstr suffix(L">");
  IFontDisp* font = MakeFont(L"DejaVu Sans", 12, true);
  IOleObject* object = control.As<IOleObject>(IID_IOleObject);
  SIZEL extent = {7000, 3000};
  const HRESULT statuses[] = {
      control->put_BackColor(0x00102030),
      control->put_ForeColor(0x80000008),
      control->put_Caption(caption.Get()),
      control->put_Visible(VARIANT_FALSE),
      control->put_TextShow(VARIANT_FALSE),
      control->put_TextPrefix(prefix.Get()),
      control->put_TextSuffix(suffix.Get()),
      control->put_TextAlignment(qrnLeft),
      control->put_BarAlignment(qrnCenter),
      control->put_BarOrientation(qrnVerticallyUp),
      control->put_BarWidth(50),
      control->put_BarStyle(qrnBarCode39),
      control->putref_Font(font),
      object->SetExtent(DVASPECT_CONTENT, &extent),
  };
  font->Release();
  object->Release();
  for (const HRESULT status : statuses) {
    if (status != S_OK) return false;
  }
  return true;
}

}  // namespace test
