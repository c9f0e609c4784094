#pragma once
// The steps every property accessor takes: check the caller's location and
// hand out the value or a fresh copy of the text; keep a private copy of a
// text handed in.
#include <windows.h>
#include <oleauto.h>

#include "common/automation_types.h"

namespace quarent {

// Stores `value` in `*out`; E_POINTER when `out` is null.
template <class T>
HRESULT ValueOut(T value, T* out) {
  if (out == nullptr) return E_POINTER;
  *out = value;
  return S_OK;
}

// Hands the caller a fresh copy of `text`; a null text comes out as an empty
// string, never as null. E_POINTER when `out` is null.
HRESULT StringOut(const Bstr& text, BSTR* out);

// Hands the caller a fresh copy of `text`; a null text comes out as null.
// E_POINTER when `out` is null.
HRESULT NullableStringOut(const Bstr& text, BSTR* out);

// Replaces `stored` with a private copy of `text` (a null text stays null);
// E_OUTOFMEMORY, leaving `stored` as it was, when the copy cannot be made.
HRESULT StringIn(BSTR text, Bstr& stored);

}  // namespace quarent
