#pragma once
// The log window's list view: three columns, two image lists, and the rows of
// logged messages appended at its end.
#include <windows.h>

#include <string>

#include "model/log_text.h"
#include "model/message_rows.h"

namespace quarent::brnlog::list_view {

// Default titles of the Message, Value and Category columns (string table).
UINT DefaultTitleId(int column);

// Creates the report-style list view (child identifier 0) covering `parent`'s
// client area, with its image lists and its three columns.
HWND Create(HWND parent);

// Appends the rows of one message. The list is not scrolled: its painting is
// held back while rows come (DeferredPainting scrolls it when it repaints).
void AppendRows(HWND list, const MessageRows& rows);

// Number of rows, or -1 when it cannot be read.
int RowCount(HWND list);

// Indent, Message and Value texts of row `index` (texts of up to 4095 bytes).
ListedRow ReadRow(HWND list, int index);

void DeleteAllRows(HWND list);

// Sets the title of column `column` (passed on unchecked).
void SetColumnTitle(HWND list, int column, const std::string& title);

}  // namespace quarent::brnlog::list_view
