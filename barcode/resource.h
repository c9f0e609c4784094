#pragma once
// Resource identifiers of QRNBC10.dll.

// Error texts of the control (ids fixed by its interface).
#define IDS_ERROR_CHARACTERS 1001
#define IDS_ERROR_CAPTION_TOO_LONG 1002
#define IDS_ERROR_BAR_WIDTH 1003
#define IDS_ERROR_FONT 1004
// Product title of the About box.
#define IDS_PRODUCT_TITLE 1005
// Property page title, help file and documentation string (the last two have no text).
#define IDS_PAGE_TITLE 1006
#define IDS_PAGE_HELP_FILE 1007
#define IDS_PAGE_DOC_STRING 1008

// Toolbox bitmap of the control (registered as ToolboxBitmap32 ", 101").
#define IDB_TOOLBOX 101

// The property page dialog and its fields.
#define IDD_BARCODE_PAGE 1010
#define IDC_CAPTION 201
#define IDC_AUTO_SIZE 202
#define IDC_BAR_ALIGNMENT 203
#define IDC_TEXT_ALIGNMENT 204
#define IDC_BAR_WIDTH 205
#define IDC_TEXT_SHOW 206
#define IDC_TEXT_PREFIX 207
#define IDC_TEXT_SUFFIX 209
#define IDC_BAR_ORIENTATION 210
#define IDC_BAR_STYLE 211
