// IPersistStreamInit, IPersistStorage (a "Contents" stream) and IPersistPropertyBag.
#include "control/bar_code_control.h"

#include "control/property_persistence.h"

namespace quarent::barcode {
namespace {

constexpr wchar_t kContentsStream[] = L"Contents";

}  // namespace

STDMETHODIMP BarCodeControl::GetClassID(CLSID* classId) {
  if (classId == nullptr) return E_POINTER;
  *classId = CLSID_QRNBarCode;
  return S_OK;
}

STDMETHODIMP BarCodeControl::IsDirty() { return dirty_ ? S_OK : S_FALSE; }

STDMETHODIMP BarCodeControl::Load(IStream* stream) {
  if (stream == nullptr) return E_POINTER;
  const HRESULT status = LoadPropertiesFromStream(static_cast<IQRNBarCode*>(this), stream, &extent_);
  if (SUCCEEDED(status)) dirty_ = false;
  Repaint();
  return status;
}

STDMETHODIMP BarCodeControl::Save(IStream* stream, BOOL clearDirty) {
  if (stream == nullptr) return E_POINTER;
  const HRESULT status = SavePropertiesToStream(static_cast<IQRNBarCode*>(this), extent_, stream);
  if (SUCCEEDED(status) && clearDirty) dirty_ = false;
  return status;
}

STDMETHODIMP BarCodeControl::GetSizeMax(ULARGE_INTEGER* size) {
  if (size == nullptr) return E_POINTER;
  size->QuadPart = 0;
  // The exact size of what Save writes now: save into a memory stream.
  ComPtr<IStream> measure;
  HRESULT status = CreateStreamOnHGlobal(nullptr, TRUE, measure.Receive());
  if (FAILED(status)) return status;
  status = SavePropertiesToStream(static_cast<IQRNBarCode*>(this), extent_, measure.Get());
  if (FAILED(status)) return status;
  STATSTG statistics = {};
  status = measure->Stat(&statistics, STATFLAG_NONAME);
  if (SUCCEEDED(status)) *size = statistics.cbSize;
  return status;
}

STDMETHODIMP BarCodeControl::InitNew() { return S_OK; }

STDMETHODIMP BarCodeControl::InitNew(IStorage*) { return S_OK; }

STDMETHODIMP BarCodeControl::Load(IStorage* storage) {
  if (storage == nullptr) return E_POINTER;
  ComPtr<IStream> stream;
  const HRESULT status =
      storage->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.Receive());
  if (FAILED(status)) return status;
  return Load(stream.Get());
}

STDMETHODIMP BarCodeControl::Save(IStorage* storage, BOOL) {
  if (storage == nullptr) return E_POINTER;
  ComPtr<IStream> stream;
  const HRESULT status = storage->CreateStream(kContentsStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE, 0,
                                               0, stream.Receive());
  if (FAILED(status)) return status;
  return Save(stream.Get(), TRUE);
}

STDMETHODIMP BarCodeControl::SaveCompleted(IStorage*) { return S_OK; }

STDMETHODIMP BarCodeControl::HandsOffStorage() { return S_OK; }

STDMETHODIMP BarCodeControl::Load(IPropertyBag* bag, IErrorLog* log) {
  if (bag == nullptr) return E_POINTER;
  const HRESULT status = LoadPropertiesFromBag(static_cast<IQRNBarCode*>(this), bag, log, &extent_);
  if (SUCCEEDED(status)) dirty_ = false;
  Repaint();
  return status;
}

STDMETHODIMP BarCodeControl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
  if (bag == nullptr) return E_POINTER;
  const HRESULT status = SavePropertiesToBag(static_cast<IQRNBarCode*>(this), extent_, bag);
  if (SUCCEEDED(status) && clearDirty) dirty_ = false;
  return status;
}

}  // namespace quarent::barcode
