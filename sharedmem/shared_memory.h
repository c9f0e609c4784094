#pragma once
// QRNSharedMemory: a named memory section shared between processes, read and
// written at byte offsets under its inter-process lock, with Before/After
// events. Threading model "Both": any thread may call it, several at once.
#include <windows.h>

#include <atomic>
#include <memory>

#include "QRNShrMem_h.h"
#include "common/automation_types.h"
#include "common/com_object.h"
#include "common/connection_point.h"
#include "common/dispatch.h"
#include "common/error_info.h"
#include "shared_section.h"

namespace quarent::sharedmem {

class SharedMemory : public ComObject<DualInterface<ISharedMemory>, SupportErrorInfoFor<ISharedMemory>,
                                      ConnectionPointContainer,
                                      ProvideClassInfoFor<QRNSharedMemory, _ISharedMemoryEvents>> {
 public:
  explicit SharedMemory(IUnknown* outer);
  ~SharedMemory() override;

  // Class factory entry.
  static HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object);

  // Refuses a late-bound Read or Write whose buffer is not a byte passed by
  // reference before the platform converts it; all else as the type library says.
  STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                      EXCEPINFO* exception, UINT* argumentError) override;

  STDMETHODIMP get_Ptr(unsigned char* p) override;
  STDMETHODIMP get_AutoLock(VARIANT_BOOL* value) override;
  STDMETHODIMP put_AutoLock(VARIANT_BOOL value) override;
  STDMETHODIMP get_FireEvents(VARIANT_BOOL* value) override;
  STDMETHODIMP put_FireEvents(VARIANT_BOOL value) override;
  STDMETHODIMP get_Size(LONG* value) override;
  STDMETHODIMP get_MeFirst(VARIANT_BOOL* value) override;
  STDMETHODIMP get_Name(BSTR* value) override;
  STDMETHODIMP get_IsCreated(VARIANT_BOOL* value) override;
  STDMETHODIMP Create(LONG size, BSTR name, VARIANT_BOOL* result) override;
  STDMETHODIMP Delete(VARIANT_BOOL* result) override;
  STDMETHODIMP Read(unsigned char* buffer, LONG bytesToRead, LONG* bytesRead, LONG offset,
                    VARIANT_BOOL* result) override;
  STDMETHODIMP Write(unsigned char* buffer, LONG bytesToWrite, LONG* bytesWritten, LONG offset,
                     VARIANT_BOOL* result) override;
  STDMETHODIMP MemLock(VARIANT_BOOL* result) override;
  STDMETHODIMP MemUnlock(VARIANT_BOOL* result) override;
  STDMETHODIMP GenerateSafeName(BSTR* result) override;
  STDMETHODIMP AboutBox() override;
  STDMETHODIMP ReadVB(LONG_PTR buffer, LONG bytesToRead, LONG* bytesRead, LONG offset, VARIANT_BOOL* result) override;
  STDMETHODIMP WriteVB(LONG_PTR buffer, LONG bytesToWrite, LONG* bytesWritten, LONG offset,
                       VARIANT_BOOL* result) override;

 protected:
  void* FindInterface(REFIID iid) override;
  size_t ConnectionPointCount() override { return 1; }
  ConnectionPoint& ConnectionPointAt(size_t) override { return events_; }

 private:
  enum class Direction { kRead, kWrite };
  // Where the buffer comes from: a typed pointer, or an address given as a
  // number (ReadVB/WriteVB), which is checked before anything is copied.
  enum class BufferOrigin { kPointer, kNumber };

  // Read and Write of `bytes` bytes between `buffer` and the section at `offset`.
  HRESULT Transfer(Direction direction, BufferOrigin origin, unsigned char* buffer, LONG bytes, LONG* transferred,
                   LONG offset, VARIANT_BOOL* result);
  // The section held now (shared, so a copy in progress keeps its view mapped).
  std::shared_ptr<SharedSection> HeldSection();
  // Raises event `id` with the Name (and, for the Create events, the Size).
  void RaiseNameEvent(DISPID id, BSTR name);
  void RaiseCreateEvent(DISPID id, BSTR name, LONG size);
  // A private copy of the stored Name, for an event.
  Bstr StoredName();

  CriticalSection lock_;  // guards section_, name_, meFirst_ and the sink list
  std::shared_ptr<SharedSection> section_;
  Bstr name_;
  VARIANT_BOOL meFirst_ = VARIANT_FALSE;
  // Read by every call on any thread (the class is registered as Both) and set
  // on their own: atomic, so that no lock is needed to read a whole value.
  std::atomic<VARIANT_BOOL> fireEvents_{VARIANT_FALSE};
  std::atomic<VARIANT_BOOL> autoLock_{VARIANT_TRUE};
  ConnectionPoint events_;
};

}  // namespace quarent::sharedmem
