#include "shared_memory.h"

#include <cstring>
#include <new>

#include "caller_buffer.h"
#include "common/about_box.h"
#include "common/property_access.h"
#include "resource.h"
#include "section_rules.h"

namespace quarent::sharedmem {
namespace {

enum EventId : DISPID {
  kBeforeCreate = 1,
  kAfterCreate = 2,
  kBeforeDelete = 3,
  kAfterDelete = 4,
  kBeforeRead = 5,
  kAfterRead = 6,
  kBeforeWrite = 7,
  kAfterWrite = 8,
};

// Dispatch identifiers of the members that take the caller's buffer by reference.
constexpr DISPID kReadId = 17;
constexpr DISPID kWriteId = 18;

// A client of ReadVB/WriteVB passes its buffer's address as a number of its
// pointer size; in a 32-bit process an address above 2 GB arrives negative.
unsigned char* AddressFromNumber(LONG_PTR address) {
  return reinterpret_cast<unsigned char*>(static_cast<ULONG_PTR>(address));
}

}  // namespace

SharedMemory::SharedMemory(IUnknown* outer)
    : ComObject(outer), events_(*this, DIID__ISharedMemoryEvents, lock_) {}

SharedMemory::~SharedMemory() {
  // Final release: the section goes without any event.
  fireEvents_ = VARIANT_FALSE;
  VARIANT_BOOL deleted;
  Delete(&deleted);
}

HRESULT SharedMemory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  return CreateComObject<SharedMemory>(outer, iid, object);
}

void* SharedMemory::FindInterface(REFIID iid) {
  if (IsEqualIID(iid, IID_ISharedMemory) || IsEqualIID(iid, IID_IDispatch)) return static_cast<ISharedMemory*>(this);
  if (IsEqualIID(iid, IID_ISupportErrorInfo)) return static_cast<ISupportErrorInfo*>(this);
  if (IsEqualIID(iid, IID_IConnectionPointContainer)) return static_cast<IConnectionPointContainer*>(this);
  if (IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_IProvideClassInfo2)) {
    return static_cast<IProvideClassInfo2*>(this);
  }
  return nullptr;
}

std::shared_ptr<SharedSection> SharedMemory::HeldSection() {
  CriticalSectionLock hold(lock_);
  return section_;
}

Bstr SharedMemory::StoredName() {
  CriticalSectionLock hold(lock_);
  return Bstr::Adopt(SysAllocStringLen(name_.Get(), name_.Length()));
}

void SharedMemory::RaiseNameEvent(DISPID id, BSTR name) {
  VARIANT argument;
  argument.vt = VT_BSTR;
  argument.bstrVal = name;
  events_.RaiseEvent(id, &argument, 1);
}

void SharedMemory::RaiseCreateEvent(DISPID id, BSTR name, LONG size) {
  VARIANT arguments[2];  // reversed: Size, then Name
  arguments[0].vt = VT_I4;
  arguments[0].lVal = size;
  arguments[1].vt = VT_BSTR;
  arguments[1].bstrVal = name;
  events_.RaiseEvent(id, arguments, 2);
}

STDMETHODIMP SharedMemory::Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                  VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
  if ((id == kReadId || id == kWriteId) && (flags & DISPATCH_METHOD) && IsEqualIID(iid, IID_NULL)) {
    const HRESULT checked = CheckBufferArgument(parameters, argumentError);
    if (FAILED(checked)) return checked;
  }
  return DualInterface<ISharedMemory>::Invoke(id, iid, locale, flags, parameters, result, exception, argumentError);
}

STDMETHODIMP SharedMemory::get_Ptr(unsigned char* p) {
  // Never gives out an address.
  return p == nullptr ? E_POINTER : S_OK;
}

STDMETHODIMP SharedMemory::get_AutoLock(VARIANT_BOOL* value) { return ValueOut(autoLock_.load(), value); }

STDMETHODIMP SharedMemory::put_AutoLock(VARIANT_BOOL value) {
  autoLock_ = value;
  return S_OK;
}

STDMETHODIMP SharedMemory::get_FireEvents(VARIANT_BOOL* value) { return ValueOut(fireEvents_.load(), value); }

STDMETHODIMP SharedMemory::put_FireEvents(VARIANT_BOOL value) {
  fireEvents_ = value;
  return S_OK;
}

STDMETHODIMP SharedMemory::get_Size(LONG* value) {
  if (value == nullptr) return E_POINTER;
  const std::shared_ptr<SharedSection> section = HeldSection();
  *value = section ? section->Size() : 0;
  return S_OK;
}

STDMETHODIMP SharedMemory::get_MeFirst(VARIANT_BOOL* value) {
  CriticalSectionLock hold(lock_);
  return ValueOut(meFirst_, value);
}

STDMETHODIMP SharedMemory::get_Name(BSTR* value) {
  CriticalSectionLock hold(lock_);
  return StringOut(name_, value);
}

STDMETHODIMP SharedMemory::get_IsCreated(VARIANT_BOOL* value) {
  return ValueOut(AsVariantBool(HeldSection() != nullptr), value);
}

STDMETHODIMP SharedMemory::Create(LONG size, BSTR name, VARIANT_BOOL* result) {
  if (result == nullptr) return E_POINTER;
  if (HeldSection()) Delete(result);
  *result = VARIANT_FALSE;
  if (fireEvents_) RaiseCreateEvent(kBeforeCreate, name, size);

  // A negative Size would reach the platform as a request of 2 GB or more.
  if (size < 0) return E_INVALIDARG;
  std::string mappingName;
  Bstr nameCopy;
  try {
    mappingName = ToAnsi(name);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  const HRESULT copied = StringIn(name, nameCopy);
  if (FAILED(copied)) return copied;

  SharedSection::Opened opened = SharedSection::Open(size, mappingName);
  if (!opened.section) return StatusFromPlatformError(opened.error);
  {
    CriticalSectionLock hold(lock_);
    meFirst_ = AsVariantBool(opened.createdAnew);
    section_ = std::move(opened.section);
    name_ = std::move(nameCopy);
  }
  if (fireEvents_) RaiseCreateEvent(kAfterCreate, name, size);
  *result = VARIANT_TRUE;
  return S_OK;
}

STDMETHODIMP SharedMemory::Delete(VARIANT_BOOL* result) {
  if (result == nullptr) return E_POINTER;
  *result = VARIANT_FALSE;
  if (!HeldSection()) return S_OK;
  if (fireEvents_) RaiseNameEvent(kBeforeDelete, StoredName().Get());
  std::shared_ptr<SharedSection> closing;
  {
    CriticalSectionLock hold(lock_);
    closing = std::move(section_);
    meFirst_ = VARIANT_FALSE;
  }
  // The view and handles close here, unless a copy on another thread still uses them.
  closing.reset();
  if (fireEvents_) RaiseNameEvent(kAfterDelete, StoredName().Get());
  {
    CriticalSectionLock hold(lock_);
    name_.Reset();
  }
  *result = VARIANT_TRUE;
  return S_OK;
}

HRESULT SharedMemory::Transfer(Direction direction, BufferOrigin origin, unsigned char* buffer, LONG bytes,
                               LONG* transferred, LONG offset, VARIANT_BOOL* result) {
  if (result == nullptr || buffer == nullptr) return E_POINTER;
  *result = VARIANT_FALSE;
  if (transferred) *transferred = 0;
  // A number may be any address: the bytes a copy would touch must be the
  // caller's own memory, writable for a read and readable for a write.
  const auto bufferUsable = [&](int32_t count) {
    return origin == BufferOrigin::kPointer ||
           IsUsableMemory(buffer, static_cast<size_t>(count),
                          direction == Direction::kRead ? MemoryUse::kWrite : MemoryUse::kRead);
  };

  std::shared_ptr<SharedSection> section = HeldSection();
  if (!section) return S_OK;
  CopyPlan plan = PlanCopy(section->Size(), section->ViewBytes(), offset, bytes);
  if (plan.decision == CopyDecision::kRefused) return E_INVALIDARG;
  if (plan.decision == CopyDecision::kPastEnd) return S_OK;
  if (!bufferUsable(plan.count)) return E_POINTER;

  const bool raise = fireEvents_.load() != VARIANT_FALSE;
  if (raise) {
    RaiseNameEvent(direction == Direction::kRead ? kBeforeRead : kBeforeWrite, StoredName().Get());
    // A sink may have deleted or replaced the section: copy only within the
    // section held now, if any.
    section = HeldSection();
    if (!section) return S_OK;
    plan = PlanCopy(section->Size(), section->ViewBytes(), offset, bytes);
    if (plan.decision != CopyDecision::kCopy) return S_OK;
    if (!bufferUsable(plan.count)) return E_POINTER;
  }

  const bool locked = autoLock_.load() != VARIANT_FALSE;
  if (locked) section->Lock();
  unsigned char* place = section->View() + offset;
  if (direction == Direction::kRead) {
    std::memcpy(buffer, place, static_cast<size_t>(plan.count));
  } else {
    std::memcpy(place, buffer, static_cast<size_t>(plan.count));
  }
  if (locked) section->Unlock();

  if (raise) RaiseNameEvent(direction == Direction::kRead ? kAfterRead : kAfterWrite, StoredName().Get());
  if (transferred) *transferred = plan.count;
  *result = VARIANT_TRUE;
  return S_OK;
}

STDMETHODIMP SharedMemory::Read(unsigned char* buffer, LONG bytesToRead, LONG* bytesRead, LONG offset,
                                VARIANT_BOOL* result) {
  return Transfer(Direction::kRead, BufferOrigin::kPointer, buffer, bytesToRead, bytesRead, offset, result);
}

STDMETHODIMP SharedMemory::Write(unsigned char* buffer, LONG bytesToWrite, LONG* bytesWritten, LONG offset,
                                 VARIANT_BOOL* result) {
  return Transfer(Direction::kWrite, BufferOrigin::kPointer, buffer, bytesToWrite, bytesWritten, offset, result);
}

STDMETHODIMP SharedMemory::ReadVB(LONG_PTR buffer, LONG bytesToRead, LONG* bytesRead, LONG offset,
                                  VARIANT_BOOL* result) {
  return Transfer(Direction::kRead, BufferOrigin::kNumber, AddressFromNumber(buffer), bytesToRead, bytesRead, offset,
                  result);
}

STDMETHODIMP SharedMemory::WriteVB(LONG_PTR buffer, LONG bytesToWrite, LONG* bytesWritten, LONG offset,
                                   VARIANT_BOOL* result) {
  return Transfer(Direction::kWrite, BufferOrigin::kNumber, AddressFromNumber(buffer), bytesToWrite, bytesWritten,
                  offset, result);
}

STDMETHODIMP SharedMemory::MemLock(VARIANT_BOOL* result) {
  if (result == nullptr) return E_POINTER;
  const std::shared_ptr<SharedSection> section = HeldSection();
  if (section) section->Lock();
  *result = AsVariantBool(section != nullptr);
  return S_OK;
}

STDMETHODIMP SharedMemory::MemUnlock(VARIANT_BOOL* result) {
  if (result == nullptr) return E_POINTER;
  const std::shared_ptr<SharedSection> section = HeldSection();
  // True also when this thread did not own the lock.
  if (section) section->Unlock();
  *result = AsVariantBool(section != nullptr);
  return S_OK;
}

STDMETHODIMP SharedMemory::GenerateSafeName(BSTR* result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  GUID guid;
  HRESULT status = CoCreateGuid(&guid);
  if (FAILED(status)) return status;
  wchar_t text[64];
  if (StringFromGUID2(guid, text, ARRAYSIZE(text)) == 0) return E_FAIL;
  *result = AnsiToBstr(ToAnsi(text, static_cast<UINT>(wcslen(text))));
  return *result ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP SharedMemory::AboutBox() { return ShowAboutBox(IDS_PRODUCT_TITLE); }

}  // namespace quarent::sharedmem
