#pragma once
// Resource identifiers of the About dialog every component carries (about_box.rc).
#define IDD_QUARENT_ABOUT 9000
#define IDC_QUARENT_ABOUT_TITLE 9001
