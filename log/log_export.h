#pragma once
// Where Copy and Save put the log text: the clipboard and a file the user chooses.
#include <windows.h>

#include <string>

namespace quarent::brnlog {

// Puts `text` on the clipboard as CF_TEXT, with the clipboard opened for
// `owner`; does nothing when the clipboard cannot be had.
void CopyToClipboard(HWND owner, const std::string& text);

// Shows the save-file dialog owned by `owner` and writes `text` to the chosen
// file, created anew; does nothing when the user cancels or the file cannot
// be created.
void SaveToChosenFile(HWND owner, const std::string& text);

}  // namespace quarent::brnlog
