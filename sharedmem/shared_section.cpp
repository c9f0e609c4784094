#include "shared_section.h"

#include "section_rules.h"

#include <new>

namespace quarent::sharedmem {
namespace {

struct LocalFreeDeleter {
  void operator()(void* block) const { LocalFree(block); }
};
using LocalBlock = std::unique_ptr<void, LocalFreeDeleter>;

// Security descriptor with a null DACL: every user and process may open and
// use the section and its lock.
LocalBlock OpenSecurityDescriptor() {
  LocalBlock descriptor(LocalAlloc(LMEM_ZEROINIT, SECURITY_DESCRIPTOR_MIN_LENGTH));
  if (!descriptor) return nullptr;
  if (!InitializeSecurityDescriptor(descriptor.get(), SECURITY_DESCRIPTOR_REVISION)) return nullptr;
  if (!SetSecurityDescriptorDacl(descriptor.get(), TRUE, nullptr, FALSE)) return nullptr;
  return descriptor;
}

uint64_t MappedBytes(const void* view) {
  MEMORY_BASIC_INFORMATION region = {};
  if (VirtualQuery(view, &region, sizeof region) == 0) return 0;
  return region.RegionSize;
}

}  // namespace

SharedSection::Opened SharedSection::Open(int32_t size, const std::string& mappingName) {
  Opened result;
  LocalBlock descriptor = OpenSecurityDescriptor();
  if (!descriptor) {
    result.error = GetLastError();
    return result;
  }
  SECURITY_ATTRIBUTES attributes = {sizeof attributes, descriptor.get(), TRUE};

  UniqueHandle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0,
                                          static_cast<DWORD>(size), mappingName.c_str()));
  const DWORD mappingError = GetLastError();
  if (!mapping) {
    result.error = mappingError;
    return result;
  }
  result.createdAnew = mappingError != ERROR_ALREADY_EXISTS;

  UniqueView view(static_cast<uint8_t*>(MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0)));
  if (!view) {
    result.error = GetLastError();
    return result;
  }

  UniqueHandle lock(CreateMutexA(&attributes, TRUE, LockName(mappingName).c_str()));
  if (!lock) {
    result.error = GetLastError();
    return result;
  }
  // Opening never waits for the lock: the ownership asked for above is given up
  // at once (when the mutex already existed it was not granted, and this
  // release fails without effect).
  ReleaseMutex(lock.Get());

  const uint64_t viewBytes = MappedBytes(view.get());
  try {
    result.section = std::make_shared<SharedSection>(PrivateTag{}, size, std::move(mapping), std::move(view),
                                                     viewBytes, std::move(lock));
  } catch (const std::bad_alloc&) {
    result.error = ERROR_NOT_ENOUGH_MEMORY;
  }
  return result;
}

SharedSection::SharedSection(PrivateTag, int32_t size, UniqueHandle mapping, UniqueView view, uint64_t viewBytes,
                             UniqueHandle lock)
    : size_(size),
      mapping_(std::move(mapping)),
      view_(std::move(view)),
      viewBytes_(viewBytes),
      lock_(std::move(lock)) {}

}  // namespace quarent::sharedmem
