#pragma once
// Read-only view of a constant array, for the tables components declare.
#include <cstddef>

namespace quarent {

template <class T>
struct ArrayView {
  const T* items = nullptr;
  size_t count = 0;

  constexpr ArrayView() = default;
  template <size_t N>
  constexpr ArrayView(const T (&array)[N]) : items(array), count(N) {}
  const T* begin() const { return items; }
  const T* end() const { return items + count; }
};

}  // namespace quarent
