// IDataObject: the control's picture as a metafile for containers that keep one.
#include "control/bar_code_control.h"

namespace quarent::barcode {
namespace {

bool IsMetafilePictureFormat(const FORMATETC* format) {
  return format->cfFormat == CF_METAFILEPICT && (format->tymed & TYMED_MFPICT) != 0 &&
         format->dwAspect == DVASPECT_CONTENT;
}

}  // namespace

STDMETHODIMP BarCodeControl::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (format == nullptr || medium == nullptr) return E_POINTER;
  if (!IsMetafilePictureFormat(format)) return DV_E_FORMATETC;

  HDC metafileDc = CreateMetaFileW(nullptr);
  if (metafileDc == nullptr) return E_OUTOFMEMORY;
  // The picture is recorded in 0.01 mm over the control's extent; a player maps it with the
  // METAFILEPICT's anisotropic extent.
  SetWindowOrgEx(metafileDc, 0, 0, nullptr);
  SetWindowExtEx(metafileDc, extent_.cx, extent_.cy, nullptr);
  PaintInto(metafileDc, RECT{0, 0, extent_.cx, extent_.cy});
  HMETAFILE metafile = CloseMetaFile(metafileDc);
  if (metafile == nullptr) return E_OUTOFMEMORY;

  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT));
  auto* picture = block ? static_cast<METAFILEPICT*>(GlobalLock(block)) : nullptr;
  if (picture == nullptr) {
    if (block) GlobalFree(block);
    DeleteMetaFile(metafile);
    return E_OUTOFMEMORY;
  }
  picture->mm = MM_ANISOTROPIC;
  picture->xExt = extent_.cx;
  picture->yExt = extent_.cy;
  picture->hMF = metafile;
  GlobalUnlock(block);
  medium->tymed = TYMED_MFPICT;
  medium->hMetaFilePict = block;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

STDMETHODIMP BarCodeControl::GetDataHere(FORMATETC*, STGMEDIUM*) { return E_NOTIMPL; }

STDMETHODIMP BarCodeControl::QueryGetData(FORMATETC* format) {
  if (format == nullptr) return E_POINTER;
  return IsMetafilePictureFormat(format) ? S_OK : DV_E_FORMATETC;
}

STDMETHODIMP BarCodeControl::GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) {
  if (out) out->ptd = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP BarCodeControl::SetData(FORMATETC*, STGMEDIUM*, BOOL) { return E_NOTIMPL; }

STDMETHODIMP BarCodeControl::EnumFormatEtc(DWORD, IEnumFORMATETC** formats) {
  if (formats) *formats = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP BarCodeControl::DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) {
  if (connection == nullptr) return E_POINTER;
  *connection = 0;
  if (!dataAdvise_) {
    const HRESULT status = CreateDataAdviseHolder(dataAdvise_.Receive());
    if (FAILED(status)) return status;
  }
  return dataAdvise_->Advise(static_cast<IDataObject*>(this), format, flags, sink, connection);
}

STDMETHODIMP BarCodeControl::DUnadvise(DWORD connection) {
  if (!dataAdvise_) return OLE_E_NOCONNECTION;
  return dataAdvise_->Unadvise(connection);
}

STDMETHODIMP BarCodeControl::EnumDAdvise(IEnumSTATDATA** advises) {
  if (advises == nullptr) return E_POINTER;
  *advises = nullptr;
  if (!dataAdvise_) return E_FAIL;
  return dataAdvise_->EnumAdvise(advises);
}

}  // namespace quarent::barcode
