#include "model/log_text.h"

namespace quarent::brnlog {

std::string LogLine(const ListedRow& row) {
  std::string line;
  if (row.indent > 0) line.assign(static_cast<size_t>(row.indent) * 4, ' ');
  line += row.message;
  if (!row.value.empty()) {
    line += " = ";
    line += row.value;
  }
  return line;
}

std::optional<std::string> BuildLogText(int rowCount, const std::function<ListedRow(int)>& readRow) {
  if (rowCount <= 0 || rowCount >= kMaxLogTextRows) return std::nullopt;
  std::string text;
  for (int index = 0; index < rowCount; ++index) {
    // Every line is kept whole, however long.
    text += LogLine(readRow(index));
    text += "\r\n";
  }
  return text;
}

}  // namespace quarent::brnlog
