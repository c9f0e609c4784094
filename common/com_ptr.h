#pragma once
// Owning pointer to a COM interface: releases its reference when it goes.
#include <windows.h>
#include <objbase.h>

#include <utility>

namespace quarent {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes a new reference to `pointer`.
  explicit ComPtr(T* pointer) : pointer_(pointer) {
    if (pointer_) pointer_->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.pointer_) {}
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(pointer_, other.pointer_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  // Adopts a reference the caller already owns.
  static ComPtr Adopt(T* pointer) {
    ComPtr result;
    result.pointer_ = pointer;
    return result;
  }

  T* Get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }

  // Releases the current pointer and returns the location for an out parameter.
  T** Receive() {
    Reset();
    return &pointer_;
  }
  void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }

  // Gives the reference to the caller.
  T* Detach() { return std::exchange(pointer_, nullptr); }

  void Reset() {
    if (T* old = std::exchange(pointer_, nullptr)) old->Release();
  }

  // Asks the object for interface U.
  template <class U>
  ComPtr<U> As() const {
    ComPtr<U> result;
    if (pointer_) pointer_->QueryInterface(__uuidof(U), result.ReceiveVoid());
    return result;
  }

 private:
  T* pointer_ = nullptr;
};

}  // namespace quarent
