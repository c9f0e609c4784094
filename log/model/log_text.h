#pragma once
// The plain text of the listed rows that Copy puts on the clipboard and Save
// writes to a file: one line per row, indented by four spaces per indent step,
// the value after " = ", each line ended by CR LF.
#include <functional>
#include <optional>
#include <string>

namespace quarent::brnlog {

// Lists of this many rows or more are neither copied nor saved.
constexpr int kMaxLogTextRows = 32000;

// What the log text takes from one listed row.
struct ListedRow {
  int indent = 0;
  std::string message;  // Message column
  std::string value;  // Value column
};

// One line without its line end: four spaces per indent step (none for a
// negative indent), the message, and " = " with the value when it is not empty.
std::string LogLine(const ListedRow& row);

// The log text of `rowCount` rows read by `readRow` (0 to rowCount - 1), or
// nothing when the count is not 1 to 31999 (a negative count: unreadable).
std::optional<std::string> BuildLogText(int rowCount, const std::function<ListedRow(int)>& readRow);

}  // namespace quarent::brnlog
