#pragma once
// The text a value shows in the log window's Value column, in copied and
// saved log text, and in the Edit Categories dialog's edit boxes.
#include <cstdint>
#include <string>

#include "model/log_value.h"
#include "model/platform_text.h"

namespace quarent::brnlog {

// Longest value, message or category text the log keeps, in ANSI bytes.
constexpr size_t kMaxTextBytes = 4095;

// Integers in decimal (unsigned types unsigned, VT_BOOL true as -1), VT_R4 and
// VT_R8 as "%f", VT_CY as an amount with four decimals, VT_DATE as the
// platform formats it, strings in ANSI (a null string as one space), at most
// 4095 bytes; empty for every other type word, by-reference ones included.
std::string ValueText(const LogValue& value, const PlatformText& platform);

// A currency amount from its scaled integer: "-12.3450" for -123450.
std::string CurrencyText(int64_t scaled);

}  // namespace quarent::brnlog
