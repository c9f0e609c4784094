#pragma once
// The modal About dialog of the components.
#include <windows.h>

#include <string>

namespace quarent {

// File version of this module from its version resource, as "%d.%d.%d.%d";
// empty when the module has none.
std::string ModuleFileVersion();

// The dialog's title line: string `productTitleId` of the module's string
// table, two spaces, "v" and the file version ("%s  v%s").
std::string AboutTitleLine(UINT productTitleId);

// Shows the About dialog owned by the active window; returns when OK closes it.
HRESULT ShowAboutBox(UINT productTitleId);

}  // namespace quarent
