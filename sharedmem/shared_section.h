#pragma once
// A named section of the paging file mapped into this process, with its named
// inter-process lock.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "common/win_handles.h"

namespace quarent::sharedmem {

class SharedSection {
  struct PrivateTag {};
  struct ViewDeleter {
    void operator()(uint8_t* view) const { UnmapViewOfFile(view); }
  };

 public:
  using UniqueView = std::unique_ptr<uint8_t, ViewDeleter>;

  // Outcome of Open: the section, or the platform error that stopped it.
  struct Opened {
    std::shared_ptr<SharedSection> section;  // null on failure
    bool createdAnew = false;                // no section of that name existed
    DWORD error = 0;                         // last error of the failing call
  };

  // Creates the section `mappingName` of `size` bytes, or opens the existing
  // one (which keeps its own size), maps all of it and creates or opens its
  // lock. Both objects get a null DACL and inheritable handles. Never waits
  // for the lock.
  static Opened Open(int32_t size, const std::string& mappingName);

  // Use Open; public only for make_shared.
  SharedSection(PrivateTag, int32_t size, UniqueHandle mapping, UniqueView view, uint64_t viewBytes,
                UniqueHandle lock);
  SharedSection(const SharedSection&) = delete;
  SharedSection& operator=(const SharedSection&) = delete;

  // The Size given to Open.
  int32_t Size() const { return size_; }
  // Bytes the mapped view really holds (at least the section's own size).
  uint64_t ViewBytes() const { return viewBytes_; }
  uint8_t* View() const { return view_.get(); }

  // Waits, without time-out, until this thread owns the lock (recursively).
  // A lock abandoned by a thread that ended counts as acquired.
  void Lock() const { WaitForSingleObject(lock_.Get(), INFINITE); }
  // Gives up one acquisition; fails quietly when this thread does not own it.
  void Unlock() const { ReleaseMutex(lock_.Get()); }

 private:
  int32_t size_;
  UniqueHandle mapping_;
  UniqueView view_;
  uint64_t viewBytes_;
  UniqueHandle lock_;
};

}  // namespace quarent::sharedmem
