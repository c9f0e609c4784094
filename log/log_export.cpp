#include "log_export.h"

#include <commdlg.h>

#include <cstring>
#include <utility>

#include "common/win_handles.h"

namespace quarent::brnlog {
namespace {

// Movable global memory block, owned until the clipboard takes it.
class GlobalBlock {
 public:
  explicit GlobalBlock(size_t size) : block_(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size)) {}
  GlobalBlock(const GlobalBlock&) = delete;
  GlobalBlock& operator=(const GlobalBlock&) = delete;
  ~GlobalBlock() {
    if (block_) GlobalFree(block_);
  }
  HGLOBAL Get() const { return block_; }
  HGLOBAL Release() { return std::exchange(block_, nullptr); }

 private:
  HGLOBAL block_;
};

// Closes the clipboard when the scope ends.
class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : opened_(OpenClipboard(owner) != FALSE) {}
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  ~OpenedClipboard() {
    if (opened_) CloseClipboard();
  }
  bool Opened() const { return opened_; }

 private:
  bool opened_;
};

}  // namespace

void CopyToClipboard(HWND owner, const std::string& text) {
  // Zero-filled, so the text ends with its terminating zero.
  GlobalBlock block(text.size() + 1);
  if (!block.Get()) return;
  void* bytes = GlobalLock(block.Get());
  if (!bytes) return;
  std::memcpy(bytes, text.data(), text.size());
  GlobalUnlock(block.Get());

  OpenedClipboard clipboard(owner);
  if (!clipboard.Opened()) return;
  EmptyClipboard();
  // From here on the block belongs to the clipboard.
  if (SetClipboardData(CF_TEXT, block.Get())) block.Release();
}

void SaveToChosenFile(HWND owner, const std::string& text) {
  char fileName[MAX_PATH] = {};
  // One filter entry; its pattern matches what its text names.
  static const char kFilter[] = "Log files *.log;\0*.log\0";
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = kFilter;
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = fileName;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = "LOG";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
  if (!GetSaveFileNameA(&dialog)) return;

  UniqueHandle file(CreateFileA(fileName, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  size_t written = 0;
  while (written < text.size()) {
    DWORD step = 0;
    const DWORD chunk = static_cast<DWORD>(text.size() - written);
    if (!WriteFile(file.Get(), text.data() + written, chunk, &step, nullptr) || step == 0) return;
    written += step;
  }
}

}  // namespace quarent::brnlog
