#pragma once
// Message values and limits from the variants a client passes.
#include <windows.h>
#include <oaidl.h>

#include "model/log_value.h"

namespace quarent::brnlog {

// The value a variant holds. A value passed by reference is read through the
// reference, so nothing of the caller's memory is kept; a type the log neither
// compares nor shows keeps only its type word.
LogValue ValueOfVariant(const VARIANT& variant);

}  // namespace quarent::brnlog
