#include "raw_list_view.h"

#include <commctrl.h>

namespace logbench {
namespace {

constexpr char kFrameClass[] = "RawListFrame";
constexpr size_t kRowBytes = 80;

void SetCell(HWND list, int item, int subItem, const std::string& text) {
  LVITEMA cell = {};
  cell.iSubItem = subItem;
  cell.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&cell));
}

}  // namespace

std::vector<std::string> RowsOf(const std::string& text) {
  std::vector<std::string> rows;
  for (size_t offset = 0; offset == 0 || offset <= text.size(); offset += kRowBytes) {
    const std::string piece = text.substr(offset, kRowBytes);
    rows.push_back(offset == 0 ? piece : "    " + piece);
  }
  return rows;
}

void DispatchPending() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

LRESULT CALLBACK RawListView::FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == quarent::brnlog::DeferredPainting::kTimerId) {
    auto* self = reinterpret_cast<RawListView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self) self->painting_.Repaint();
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

RawListView::RawListView(bool shown) {
  WNDCLASSA frameClass = {};
  frameClass.lpfnWndProc = FrameProc;
  frameClass.hInstance = GetModuleHandleA(nullptr);
  frameClass.lpszClassName = kFrameClass;
  RegisterClassA(&frameClass);
  frame_ = CreateWindowExA(0, kFrameClass, "Raw", WS_OVERLAPPEDWINDOW | (shown ? WS_VISIBLE : 0), CW_USEDEFAULT,
                           CW_USEDEFAULT, 300, 300, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(frame_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  RECT client = {};
  GetClientRect(frame_, &client);
  list_ = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, 0, 0, client.right,
                          client.bottom, frame_, nullptr, GetModuleHandleA(nullptr), nullptr);
  const char* titles[] = {"Message", "Value", "Category"};
  const int widths[] = {250, 80, 80};
  for (int column = 0; column < 3; ++column) {
    LVCOLUMNA header = {};
    header.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    header.cx = widths[column];
    header.pszText = const_cast<char*>(titles[column]);
    header.iSubItem = column;
    SendMessageA(list_, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
  }
  painting_.Attach(frame_, list_);
  DispatchPending();
}

RawListView::~RawListView() {
  painting_.Detach();
  DestroyWindow(frame_);
  DispatchPending();
}

int RawListView::Insert(const RawMessage& message, bool scrollEachRow) {
  int inserted = -1;
  for (size_t row = 0; row < message.rows.size(); ++row) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_INDENT;
    item.iItem = static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
    item.pszText = const_cast<char*>(message.rows[row].c_str());
    item.iImage = -1;
    item.iIndent = message.indent;
    inserted = static_cast<int>(SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row == 0) {
      SetCell(list_, inserted, 1, message.value);
      SetCell(list_, inserted, 2, "Bench");
    }
    if (scrollEachRow) SendMessageA(list_, LVM_ENSUREVISIBLE, inserted, FALSE);
  }
  return inserted;
}

void RawListView::AppendScrollingEachRow(const RawMessage& message) {
  Insert(message, true);
  DispatchPending();
}

void RawListView::AppendBatched(const RawMessage& message) {
  painting_.Hold();
  Insert(message, false);
  DispatchPending();
  painting_.RepaintIfDue();
}

void RawListView::Refill(const std::vector<RawMessage>& messages, bool dispatchEach) {
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
  int last = -1;
  for (const RawMessage& message : messages) {
    last = Insert(message, false);
    MSG pending;
    if (dispatchEach && PeekMessageA(&pending, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&pending);
      DispatchMessageA(&pending);
    }
  }
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  if (last >= 0) SendMessageA(list_, LVM_ENSUREVISIBLE, last, FALSE);
  UpdateWindow(list_);
}

}  // namespace logbench
