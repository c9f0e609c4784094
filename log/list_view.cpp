#include "list_view.h"

#include <commctrl.h>

#include <array>
#include <utility>
#include <vector>

#include "common/automation_types.h"
#include "common/error_info.h"
#include "common/module.h"
#include "resource.h"

namespace quarent::brnlog::list_view {
namespace {

struct ColumnSpec {
  UINT titleId;
  int width;
};
constexpr std::array<ColumnSpec, 3> kColumns = {{
    {IDS_MESSAGE_COLUMN, 250},
    {IDS_VALUE_COLUMN, 80},
    {IDS_CATEGORY_COLUMN, 80},
}};

// Icons of the images 0 to 4 (brnImageIndex 1 to 5).
constexpr std::array<UINT, 5> kImageIcons = {IDI_CIRCLE_EXCLAM, IDI_CIRCLE_X, IDI_EXCLAM, IDI_RIGHT_ARROW,
                                             IDI_DOWN_RIGHT_ARROW};
static_assert(kImageIcons.size() == 5, "five images, one per brnImageIndex value after brnNoImage");

// Image list owned until the list view takes it.
class ImageList {
 public:
  explicit ImageList(int size) : list_(ImageList_Create(size, size, ILC_COLOR, 5, 0)) {}
  ImageList(const ImageList&) = delete;
  ImageList& operator=(const ImageList&) = delete;
  ~ImageList() {
    if (list_) ImageList_Destroy(list_);
  }
  HIMAGELIST Get() const { return list_; }
  HIMAGELIST Release() { return std::exchange(list_, nullptr); }

 private:
  HIMAGELIST list_;
};

// Fills both image lists with the five icons and attaches them; when an icon
// cannot be added the list view goes without images.
void AttachImages(HWND list) {
  ImageList small(16);
  ImageList large(32);
  if (!small.Get() || !large.Get()) return;
  for (UINT iconId : kImageIcons) {
    HICON icon = LoadIconA(module::Instance(), MAKEINTRESOURCEA(iconId));
    if (!icon || ImageList_ReplaceIcon(small.Get(), -1, icon) < 0 || ImageList_ReplaceIcon(large.Get(), -1, icon) < 0) {
      return;
    }
  }
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small.Release()));
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large.Release()));
}

std::string ColumnTitle(UINT titleId) {
  const std::wstring title = LoadModuleString(titleId);
  return ToAnsi(title.c_str(), static_cast<UINT>(title.size()));
}

void AddColumns(HWND list) {
  for (size_t index = 0; index < kColumns.size(); ++index) {
    std::string title = ColumnTitle(kColumns[index].titleId);
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = kColumns[index].width;
    column.pszText = title.data();
    column.iSubItem = static_cast<int>(index);
    SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
  }
}

void SetSubItemText(HWND list, int item, int subItem, const std::string& text) {
  LVITEMA cell = {};
  cell.iSubItem = subItem;
  cell.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&cell));
}

std::string ReadText(HWND list, int item, int subItem) {
  std::vector<char> buffer(4096, '\0');
  LVITEMA cell = {};
  cell.iSubItem = subItem;
  cell.pszText = buffer.data();
  cell.cchTextMax = static_cast<int>(buffer.size());
  const LRESULT length = SendMessageA(list, LVM_GETITEMTEXTA, item, reinterpret_cast<LPARAM>(&cell));
  if (length <= 0) return {};
  return std::string(cell.pszText, strnlen(cell.pszText, buffer.size()));
}

}  // namespace

UINT DefaultTitleId(int column) {
  return column >= 0 && column < static_cast<int>(kColumns.size()) ? kColumns[static_cast<size_t>(column)].titleId
                                                                   : 0;
}

HWND Create(HWND parent) {
  RECT client = {};
  GetClientRect(parent, &client);
  HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, 0, 0,
                              client.right - client.left, client.bottom - client.top, parent, nullptr,
                              module::Instance(), nullptr);
  if (!list) return nullptr;
  AttachImages(list);
  // The columns come even without images: a list without them shows nothing.
  AddColumns(list);
  return list;
}

void AppendRows(HWND list, const MessageRows& rows) {
  for (size_t index = 0; index < rows.texts.size(); ++index) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_INDENT;
    item.iItem = RowCount(list);
    item.pszText = const_cast<char*>(rows.texts[index].c_str());
    item.iImage = index == 0 ? rows.image : -1;
    item.iIndent = rows.indent;
    const int inserted = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (index == 0 && inserted >= 0) {
      SetSubItemText(list, inserted, 1, rows.valueText);
      SetSubItemText(list, inserted, 2, rows.categoryText);
    }
  }
}

int RowCount(HWND list) {
  if (!IsWindow(list)) return -1;
  return static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
}

ListedRow ReadRow(HWND list, int index) {
  ListedRow row;
  LVITEMA item = {};
  item.mask = LVIF_INDENT;
  item.iItem = index;
  if (SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) row.indent = item.iIndent;
  row.message = ReadText(list, index, 0);
  row.value = ReadText(list, index, 1);
  return row;
}

void DeleteAllRows(HWND list) { SendMessageA(list, LVM_DELETEALLITEMS, 0, 0); }

void SetColumnTitle(HWND list, int column, const std::string& title) {
  LVCOLUMNA header = {};
  header.mask = LVCF_TEXT | LVCF_SUBITEM;
  header.pszText = const_cast<char*>(title.c_str());
  header.iSubItem = column;
  SendMessageA(list, LVM_SETCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
}

}  // namespace quarent::brnlog::list_view
