#include "page/page_values.h"

#include "resource.h"

namespace quarent::barcode {
namespace {

// One write of the page's order: the field it comes from and the setter call.
struct WriteStep {
  int fieldId;
  bool fieldWritten;
  HRESULT (*write)(IQRNBarCode* control, const PageValues& values);
};

constexpr WriteStep kWriteSteps[] = {
    {IDC_CAPTION, false, [](IQRNBarCode* control, const PageValues&) {
       Bstr empty(L"");
       return control->put_Caption(empty.Get());
     }},
    {IDC_TEXT_SHOW, true, [](IQRNBarCode* control, const PageValues& values) {
       return control->put_TextShow(values.textShow);
     }},
    {IDC_TEXT_SUFFIX, true, [](IQRNBarCode* control, const PageValues& values) {
       return control->put_TextSuffix(values.textSuffix.Get());
     }},
    {IDC_TEXT_PREFIX, true, [](IQRNBarCode* control, const PageValues& values) {
       return control->put_TextPrefix(values.textPrefix.Get());
     }},
    {IDC_BAR_ALIGNMENT, true, [](IQRNBarCode* control, const PageValues& values) {
       return control->put_BarAlignment(static_cast<Constants_Alignment>(values.barAlignment));
     }},
    {IDC_BAR_ORIENTATION, true, [](IQRNBarCode* control, const PageValues& values) {
       return control->put_BarOrientation(static_cast<Constants_Orientation>(values.barOrientation));
     }},
    {IDC_TEXT_ALIGNMENT, true, [](IQRNBarCode* control, const PageValues& values) {
       return control->put_TextAlignment(static_cast<Constants_Alignment>(values.textAlignment));
     }},
    {IDC_AUTO_SIZE, true, [](IQRNBarCode* control, const PageValues& values) {
       return control->put_AutoSize(values.autoSize);
     }},
    {IDC_BAR_STYLE, true, [](IQRNBarCode* control, const PageValues& values) {
       return control->put_BarStyle(static_cast<Constants_BarCodeSel>(values.barStyle));
     }},
    {IDC_BAR_WIDTH, true, [](IQRNBarCode* control, const PageValues& values) {
       return control->put_BarWidth(values.barWidth);
     }},
    {IDC_CAPTION, true, [](IQRNBarCode* control, const PageValues& values) {
       return control->put_Caption(values.caption.Get());
     }},
};
static_assert(sizeof(kWriteSteps) / sizeof(kWriteSteps[0]) == 11, "Apply writes eleven values");

}  // namespace

HRESULT ReadPageValues(IQRNBarCode* control, PageValues* values) {
  Constants_Alignment barAlignment;
  Constants_Orientation barOrientation;
  Constants_Alignment textAlignment;
  Constants_BarCodeSel barStyle;
  HRESULT status = control->get_Caption(values->caption.Receive());
  if (SUCCEEDED(status)) status = control->get_TextShow(&values->textShow);
  if (SUCCEEDED(status)) status = control->get_TextSuffix(values->textSuffix.Receive());
  if (SUCCEEDED(status)) status = control->get_TextPrefix(values->textPrefix.Receive());
  if (SUCCEEDED(status)) status = control->get_BarAlignment(&barAlignment);
  if (SUCCEEDED(status)) status = control->get_BarOrientation(&barOrientation);
  if (SUCCEEDED(status)) status = control->get_TextAlignment(&textAlignment);
  if (SUCCEEDED(status)) status = control->get_AutoSize(&values->autoSize);
  if (SUCCEEDED(status)) status = control->get_BarStyle(&barStyle);
  if (SUCCEEDED(status)) status = control->get_BarWidth(&values->barWidth);
  if (FAILED(status)) return status;
  values->barAlignment = barAlignment;
  values->barOrientation = barOrientation;
  values->textAlignment = textAlignment;
  values->barStyle = barStyle;
  return S_OK;
}

PageWrite WritePageValues(IQRNBarCode* control, const PageValues& values) {
  for (const WriteStep& step : kWriteSteps) {
    // A refusal without error information must not show the text of an earlier one.
    SetErrorInfo(0, nullptr);
    const HRESULT status = step.write(control, values);
    if (FAILED(status)) return {status, step.fieldId, step.fieldWritten};
  }
  return {};
}

}  // namespace quarent::barcode
