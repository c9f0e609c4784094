#pragma once
// The Edit Categories dialog: sets the lower and upper limits of one category
// at a time on a working copy, written back to the category table at OK.
#include <windows.h>

#include "model/filter_model.h"
#include "model/platform_text.h"

namespace quarent::brnlog {

// Runs the dialog, modal and owned by `owner`, over the category table of
// `model`; returns 1 for OK and 0 for Cancel.
INT_PTR RunEditCategoriesDialog(HWND owner, FilterModel& model, const PlatformText& text);

}  // namespace quarent::brnlog
