#include "pl_editor_wnd.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "editor_columns.h"
#include "editor_edits.h"
#include "editor_set.h"
#include "win_pos.h"
#include "zv_desc.h"
#include "zv_plugins.h"

namespace zv::editor {
namespace {

constexpr int kListId = 100, kSearchId = 101;
constexpr int kBarHeight = 30, kHeaderHeight = 20;
constexpr UINT kQueueMessage = WM_APP + 17;
constexpr int32_t kQueueSlice = 200;
// Every editor asks the scanner under a tag of its own, so that one editor
// closing cancels only its own queued requests.
constexpr int32_t kEditorTagBase = -666;
int32_t queryTag(int number) { return kEditorTagBase - number; }

// Releases a shell drop block.
struct DropBlock {
  HDROP drop;
  ~DropBlock() { DragFinish(drop); }
};

std::string windowText(HWND window) {
  const int n = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(std::max(n, 0)) + 1, '\0');
  GetWindowTextA(window, text.data(), n + 1);
  text.resize(std::strlen(text.c_str()));
  return text;
}

// "%s" in a translated text replaced by `value` (a translation is never
// used as a printf format).
std::string withValue(std::string text, const std::string& value) {
  const size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, value);
  return text;
}

}  // namespace

std::string columnWidthValueName(int editor, int column) {
  char name[48];
  std::snprintf(name, sizeof(name), "editor%d_col%d", editor, column);
  return name;
}

TPLEditorWnd::TPLEditorWnd(EditorSet& set, EditorHost& host, int number, uint32_t serial, Playlist owned)
    : ui::TFrameWnd("editor" + std::to_string(number), ui::FrameKind::sizeable),
      set_(set),
      host_(host),
      number_(number),
      serial_(serial),
      pl_(owned ? owned : host.mainPlaylist()),
      owns_(owned != nullptr) {}

TPLEditorWnd::~TPLEditorWnd() {
  destroy();
  if (owns_) freePlaylist(pl_);
  freePlaylist(undo_);
}

std::string TPLEditorWnd::tr(const char* text) const { return set_.text(text); }

bool TPLEditorWnd::open(const std::string& caption, const EditorState* restored) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  palette_ = paletteFrom(host_.mainSkin());
  if (!createFrame(host_.rootDir(), caption.c_str(), {640, 400}, nullptr, false)) return false;
  createChildren();
  setupColumns();
  applySkin();
  refresh();
  const ZvTarget me = reinterpret_cast<ZvTarget>(hwnd());
  addBroadcastFilter(me, msgInfoReady);
  DragAcceptFiles(hwnd(), TRUE);
  if (restored) {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    const int width = std::clamp<int32_t>(restored->width, 200, 4000);
    const int height = std::clamp<int32_t>(restored->height, 120, 3000);
    const RECT placed = ui::placeWindow(restored->left, restored->top, {width, height});
    SetWindowPos(hwnd(), restored->byteB ? HWND_TOPMOST : nullptr, placed.left, placed.top, width, height,
                 SWP_NOACTIVATE | (restored->byteB ? 0 : SWP_NOZORDER));
    modified_ = restored->modified;
    if (restored->selected >= 0) selectOnly(restored->selected, false);
    const int32_t top = topLine();
    if (restored->firstVisible != top) ListView_Scroll(list_.get(), 0, (restored->firstVisible - top) * rowHeight());
    if (restored->valueA == 1) toggleRollup();
  } else if (const ui::WinPos stored = ui::readWinPos("editor" + std::to_string(number_));
             stored.left != ui::kNoPosition) {
    // This editor number's window was here when it last closed.
    RECT r{};
    GetWindowRect(hwnd(), &r);
    const SIZE size{stored.width > 0 ? stored.width : r.right - r.left, stored.height > 0 ? stored.height : r.bottom - r.top};
    const RECT placed = ui::placeWindow(stored.left, stored.top, size);
    SetWindowPos(hwnd(), nullptr, placed.left, placed.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    if (plGetCount(pl_) > 0) selectOnly(owns_ && plGetCount(pl_) > 1 ? 1 : 0, false);
  } else {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    // Each new editor a little below and right of the last one.
    const int step = 24 * (number_ % 8);
    const RECT placed = ui::placeWindow(ui::kNoPosition, ui::kNoPosition, {r.right - r.left, r.bottom - r.top});
    SetWindowPos(hwnd(), nullptr, placed.left + step, placed.top + step, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (plGetCount(pl_) > 0) selectOnly(owns_ && plGetCount(pl_) > 1 ? 1 : 0, false);
  }
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  queueDescriptions(0, plGetCount(pl_));
  return true;
}

void TPLEditorWnd::createChildren() {
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | LVS_REPORT | LVS_OWNERDATA |
                      LVS_SHOWSELALWAYS | LVS_EDITLABELS | LVS_NOCOLUMNHEADER;
  list_.reset(CreateWindowExA(0, WC_LISTVIEWA, "", style, 0, 0, 10, 10, hwnd(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), thisModule(), nullptr));
  SendMessageA(list_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(ui::controlFont()), FALSE);
  ListView_SetExtendedListViewStyle(list_.get(), LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  search_.reset(CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 10, 10,
                                hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kSearchId)), thisModule(),
                                nullptr));
  SendMessageA(search_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(ui::controlFont()), FALSE);
  header_ = &addElement<EditorHeader>(
      EditorHeader::Columns{[] { return kColumnCount; },
                            [this](int c) { return ListView_GetColumnWidth(list_.get(), c); },
                            [this](int c, int w) {
                              ListView_SetColumnWidth(list_.get(), c, w);
                              InvalidateRect(list_.get(), nullptr, FALSE);
                            },
                            [this](int c) { return tr(columnHeader(c)); },
                            [](int c) { return c == colTime || c == colSize; }, [this] { return scrollX(); }},
      palette_);
  searchLabel_ = &addElement<ui::TZText>(tr("QuickSearch###Quick search:"), DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  findButton_ = &addElement<ui::TZButton>(tr("FindCur###Find current"));
  findButton_->setName("findcur");
  findButton_->onClick = [this] { findCurrent(); };
  addTabStop(list_.get());
  addTabStop(search_.get());
  LOGFONTA lf{};
  GetObjectA(ui::controlFont(), sizeof(lf), &lf);
  lf.lfWeight = FW_BOLD;
  boldFont_.reset(CreateFontIndirectA(&lf));
  layout();
}

void TPLEditorWnd::setupColumns() {
  HKEY raw = nullptr;
  UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, ui::winPosKeyPath().c_str(), 0, KEY_READ, &raw) == ERROR_SUCCESS) key.reset(raw);
  for (int c = 0; c < kColumnCount; ++c) {
    int width = defaultColumnWidth(c);
    DWORD value = 0, size = sizeof(value);
    if (key && RegGetValueA(key.get(), nullptr, columnWidthValueName(number_, c).c_str(), RRF_RT_REG_DWORD, nullptr,
                            &value, &size) == ERROR_SUCCESS &&
        value <= 4000)
      width = static_cast<int>(value);
    std::string header = tr(columnHeader(c));
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    column.fmt = c == colTime || c == colSize ? LVCFMT_RIGHT : LVCFMT_LEFT;
    if (c == 0) column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = header.data();
    ListView_InsertColumn(list_.get(), c, &column);
  }
}

void TPLEditorWnd::storeColumnWidths() {
  if (!list_) return;
  HKEY raw = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, ui::winPosKeyPath().c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &raw,
                      nullptr) != ERROR_SUCCESS)
    return;
  UniqueRegKey key(raw);
  for (int c = 0; c < kColumnCount; ++c) {
    const DWORD width = static_cast<DWORD>(std::max(0, ListView_GetColumnWidth(list_.get(), c)));
    RegSetValueExA(key.get(), columnWidthValueName(number_, c).c_str(), 0, REG_DWORD,
                   reinterpret_cast<const BYTE*>(&width), sizeof(width));
  }
}

void TPLEditorWnd::applySkin() {
  palette_ = paletteFrom(host_.mainSkin());
  backBrush_.reset(CreateSolidBrush(palette_.background));
  if (list_) {
    ListView_SetBkColor(list_.get(), palette_.background);
    ListView_SetTextBkColor(list_.get(), palette_.background);
    ListView_SetTextColor(list_.get(), palette_.text);
    InvalidateRect(list_.get(), nullptr, TRUE);
  }
  if (searchLabel_) searchLabel_->setColor(palette_.text);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void TPLEditorWnd::layout() {
  ui::TFrameWnd::layout();
  if (!list_) return;
  const RECT c = clientRect();
  const int bar = c.bottom - kBarHeight;
  if (header_) header_->setRect({c.left, c.top, c.right, c.top + kHeaderHeight});
  MoveWindow(list_.get(), c.left, c.top + kHeaderHeight, std::max(0L, c.right - c.left),
             std::max(0L, bar - c.top - kHeaderHeight), TRUE);
  const int labelWidth = 92, buttonWidth = 96;
  if (searchLabel_) searchLabel_->setRect({c.left + 8, bar + 4, c.left + 8 + labelWidth, c.bottom - 4});
  if (findButton_) findButton_->setRect({c.right - 8 - buttonWidth, bar + 4, c.right - 8, c.bottom - 4});
  MoveWindow(search_.get(), c.left + 12 + labelWidth, bar + 7, std::max(0L, c.right - c.left - labelWidth - buttonWidth - 36),
             kBarHeight - 13, TRUE);
}

void TPLEditorWnd::paintSkin(HDC dc, int width, int height, const RECT& area) {
  ui::TFrameWnd::paintSkin(dc, width, height, area);
  if (!list_) return;
  RECT c = clientRect();
  RECT bar{c.left, c.bottom - kBarHeight, c.right, c.bottom};
  FillRect(dc, &bar, backBrush_.get());
  RECT line{bar.left, bar.top, bar.right, bar.top + 1};
  UniqueBrush edge(CreateSolidBrush(palette_.header));
  FillRect(dc, &line, edge.get());
  // The search box's frame.
  RECT box{};
  GetWindowRect(search_.get(), &box);
  MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&box), 2);
  InflateRect(&box, 3, 3);
  FrameRect(dc, &box, edge.get());
}

// ---- The list ----

int TPLEditorWnd::rowHeight() const {
  RECT r{};
  if (plGetCount(pl_) > 0 && ListView_GetItemRect(list_.get(), 0, &r, LVIR_BOUNDS) && r.bottom > r.top)
    return r.bottom - r.top;
  return 16;
}

int TPLEditorWnd::scrollX() const {
  RECT r{};
  if (plGetCount(pl_) > 0 && ListView_GetItemRect(list_.get(), ListView_GetTopIndex(list_.get()), &r, LVIR_BOUNDS))
    return -r.left;
  return 0;
}

int32_t TPLEditorWnd::topLine() const { return list_ ? ListView_GetTopIndex(list_.get()) : 0; }

void TPLEditorWnd::refresh() {
  if (!list_) return;
  ListView_SetItemCountEx(list_.get(), plGetCount(pl_), LVSICF_NOSCROLL);
  InvalidateRect(list_.get(), nullptr, FALSE);
}

void TPLEditorWnd::mainListChanged() {
  if (!owns_) refresh();
}

int32_t TPLEditorWnd::currentLine() const { return owns_ ? -1 : host_.currentLine(); }

std::vector<int32_t> TPLEditorWnd::selection() const {
  std::vector<int32_t> lines;
  for (int i = ListView_GetNextItem(list_.get(), -1, LVNI_SELECTED); i >= 0;
       i = ListView_GetNextItem(list_.get(), i, LVNI_SELECTED))
    lines.push_back(i);
  return lines;
}

int32_t TPLEditorWnd::focusLine() const {
  const int32_t count = plGetCount(pl_);
  int32_t line = ListView_GetNextItem(list_.get(), -1, LVNI_FOCUSED);
  if (line >= 0 && line < count && ListView_GetItemState(list_.get(), line, LVIS_SELECTED)) return line;
  line = ListView_GetNextItem(list_.get(), -1, LVNI_SELECTED);
  return line >= 0 && line < count ? line : -1;
}

// Only the selected lines are touched: the whole list's state is never
// walked (a long list would pay per line).
void TPLEditorWnd::clearSelection() {
  for (int32_t line : selection()) ListView_SetItemState(list_.get(), line, 0, LVIS_SELECTED | LVIS_FOCUSED);
  const int focused = ListView_GetNextItem(list_.get(), -1, LVNI_FOCUSED);
  if (focused >= 0) ListView_SetItemState(list_.get(), focused, 0, LVIS_FOCUSED);
}

void TPLEditorWnd::selectOnly(int32_t line, bool centre) {
  if (line < 0 || line >= plGetCount(pl_)) return;
  clearSelection();
  ListView_SetItemState(list_.get(), line, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetSelectionMark(list_.get(), line);
  if (centre) {
    const int per = std::max(1, ListView_GetCountPerPage(list_.get()));
    const int32_t wanted = std::max<int32_t>(0, line - per / 2);
    ListView_Scroll(list_.get(), 0, (wanted - topLine()) * rowHeight());
  }
  ListView_EnsureVisible(list_.get(), line, FALSE);
}

int32_t TPLEditorWnd::hitLine(POINT at, bool* upperHalf) const {
  const int32_t count = plGetCount(pl_);
  if (count == 0) return -1;
  const int h = rowHeight();
  RECT top{};
  const int32_t first = topLine();
  if (!ListView_GetItemRect(list_.get(), first, &top, LVIR_BOUNDS)) return -1;
  if (at.y < top.top) return -1;
  const int32_t line = first + (at.y - top.top) / h;
  if (line >= count) return -1;
  if (upperHalf) *upperHalf = (at.y - top.top) % h < h / 2;
  return line;
}

LRESULT TPLEditorWnd::onCustomDraw(NMLVCUSTOMDRAW* draw) {
  switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      // The list scrolled sideways: the header follows.
      if (header_ && scrollX() != headerScroll_) {
        headerScroll_ = scrollX();
        header_->invalidate();
      }
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      paintRow(draw->nmcd.hdc, static_cast<int32_t>(draw->nmcd.dwItemSpec));
      return CDRF_SKIPDEFAULT;
    default:
      return CDRF_DODEFAULT;
  }
}

void TPLEditorWnd::paintRow(HDC dc, int32_t line) {
  RECT row{};
  if (line < 0 || line >= plGetCount(pl_) || !ListView_GetItemRect(list_.get(), line, &row, LVIR_BOUNDS)) return;
  const bool selected = ListView_GetItemState(list_.get(), line, LVIS_SELECTED) != 0;
  const bool current = line == currentLine();
  const PlaylistLine* rec = plGetRec(pl_, line);
  const bool group = rec && (rec->flags & lfGroup);
  const bool missing = rec && (rec->flags & lfMissing);
  RECT client{};
  GetClientRect(list_.get(), &client);
  RECT fill{client.left, row.top, client.right, row.bottom};
  const COLORREF back = selected ? palette_.selection : line == hot_ ? palette_.hover : palette_.background;
  UniqueBrush backBrush(CreateSolidBrush(back));
  FillRect(dc, &fill, backBrush.get());
  SetBkMode(dc, TRANSPARENT);

  int x = row.left;
  for (int c = 0; c < kColumnCount; ++c) {
    const int width = ListView_GetColumnWidth(list_.get(), c);
    RECT cell{x, row.top, x + width, row.bottom};
    x += width;
    if (cell.right < client.left || cell.left > client.right) continue;
    COLORREF color = c == colName || selected ? palette_.text : palette_.dim;
    if (missing) color = palette_.dim;
    if (current) color = palette_.current;
    SetTextColor(dc, color);
    RECT text = cell;
    text.left += 6;
    text.right -= 6;
    if (c == colName) {
      const int indent = kIndentMargin + (rec ? rec->level : 0) * kIndentStep;
      const int mid = (row.top + row.bottom) / 2;
      const int gx = cell.left + indent;
      // The tree icon: an open box for a group, a dot for a file.
      UniqueBrush glyph(CreateSolidBrush(current ? palette_.current : group ? palette_.accent : palette_.dim));
      if (group) {
        RECT box{gx, mid - 4, gx + 8, mid + 4};
        FrameRect(dc, &box, glyph.get());
        RECT bar{gx + 2, mid - 1, gx + 6, mid + 1};
        FillRect(dc, &bar, glyph.get());
      } else {
        RECT dot{gx + 2, mid - 1, gx + 5, mid + 2};
        FillRect(dc, &dot, glyph.get());
      }
      text.left = gx + 13;
    }
    const std::string value = cellText(pl_, line, c);
    if (value.empty()) continue;
    HGDIOBJ old = SelectObject(dc, c == colName && group ? boldFont_.get() : ui::controlFont());
    const UINT align = c == colTime || c == colSize ? DT_RIGHT : DT_LEFT;
    DrawTextA(dc, value.c_str(), static_cast<int>(value.size()), &text,
              align | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, old);
  }
  if (line == markerLine_) {
    UniqueBrush marker(CreateSolidBrush(palette_.accent));
    RECT m{row.left + dropMarkerX(markerLevel_), row.bottom - 2, client.right, row.bottom};
    FillRect(dc, &m, marker.get());
  }
}

void TPLEditorWnd::setDropMarker(int32_t line, int32_t level) {
  if (line == markerLine_ && level == markerLevel_) return;
  const int32_t old = markerLine_;
  markerLine_ = line;
  markerLevel_ = level;
  if (old >= 0) ListView_RedrawItems(list_.get(), old, old);
  if (line >= 0) ListView_RedrawItems(list_.get(), line, line);
  UpdateWindow(list_.get());
}

// ---- Messages ----

LRESULT TPLEditorWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= ZV_BUS_FIRST && message <= ZV_BUS_LAST) {
    if (message == msgInfoReady) {
      onInfoReady(wParam, lParam);
    } else {
      MSG m{hwnd(), message, wParam, lParam, 0, {0, 0}};
      finishMsg(&m);
    }
    return 0;
  }
  switch (message) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->hwndFrom == list_.get()) return onNotify(header);
      break;
    }
    case WM_COMMAND: {
      if (reinterpret_cast<HWND>(lParam) == search_.get()) {
        if (HIWORD(wParam) == EN_CHANGE) searchTyped();
        return 0;
      }
      if (lParam == 0) {
        const unsigned id = LOWORD(wParam);
        std::string command = commandOfId(id);
        if (command.empty() && id >= kFirstDynamicId && id - kFirstDynamicId < menuCommands_.size())
          command = menuCommands_[id - kFirstDynamicId];
        if (!command.empty()) runCommand(command);
        return 0;
      }
      break;
    }
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lParam) == search_.get()) {
        SetTextColor(reinterpret_cast<HDC>(wParam), palette_.text);
        SetBkColor(reinterpret_cast<HDC>(wParam), palette_.background);
        return reinterpret_cast<LRESULT>(backBrush_.get());
      }
      break;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == hwnd() && header_ && LOWORD(lParam) == HTCLIENT) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(hwnd(), &p);
        if (PtInRect(&header_->rect(), p) && header_->edgeAt(p.x) >= 0) {
          SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
          return TRUE;
        }
      }
      if (!dragging_) {
        int32_t hot = -1;
        if (reinterpret_cast<HWND>(wParam) == list_.get()) {
          POINT p;
          GetCursorPos(&p);
          ScreenToClient(list_.get(), &p);
          hot = hitLine(p);
        }
        if (hot != hot_) {
          const int32_t old = hot_;
          hot_ = hot;
          if (old >= 0) ListView_RedrawItems(list_.get(), old, old);
          if (hot >= 0) ListView_RedrawItems(list_.get(), hot, hot);
        }
      }
      break;
    case WM_MOUSEMOVE:
      if (dragging_) {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd(), &p);
        dragMove(p);
        return 0;
      }
      break;
    case WM_LBUTTONUP:
      if (dragging_) {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd(), &p);
        dragEnd(p, true);
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (dragging_) {
        POINT p{};
        dragEnd(p, false);
      }
      break;
    case WM_KEYDOWN:
      if (dragging_ && wParam == VK_ESCAPE) {
        ReleaseCapture();
        return 0;
      }
      break;
    case WM_DROPFILES: {
      DropBlock block{reinterpret_cast<HDROP>(wParam)};
      std::vector<std::string> files;
      const UINT count = DragQueryFileA(block.drop, 0xFFFFFFFF, nullptr, 0);
      for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH] = {};
        if (DragQueryFileA(block.drop, i, path, MAX_PATH)) files.emplace_back(path);
      }
      POINT p{};
      DragQueryPoint(block.drop, &p);
      MapWindowPoints(hwnd(), list_.get(), &p, 1);
      dropFiles(files, p);
      return 0;
    }
    case kQueueMessage:
      queueSlice();
      return 0;
    case WM_CLOSE:
      onClose();
      return 0;
    case WM_DESTROY: {
      const ZvTarget me = reinterpret_cast<ZvTarget>(hwnd());
      delBroadcastFilter(me, msgInfoReady);
      cancelQueryInfo(queryTag(number_));
      if (!closing_) {
        storeColumnWidths();
        storePosition();
      }
      closing_ = true;
      set_.closed(this);
      break;
    }
    default:
      break;
  }
  return ui::TFrameWnd::handle(message, wParam, lParam);
}

LRESULT TPLEditorWnd::onNotify(NMHDR* header) {
  switch (header->code) {
    case LVN_GETDISPINFOA: {
      auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
      if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
        dispText_ = cellText(pl_, info->item.iItem, info->item.iSubItem);
        lstrcpynA(info->item.pszText, dispText_.c_str(), info->item.cchTextMax);
      }
      return 0;
    }
    case LVN_ODFINDITEMA:
      return -1;
    case NM_CUSTOMDRAW:
      return onCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    case LVN_KEYDOWN:
      onListKey(reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
      return 0;
    case NM_DBLCLK:
      if (reinterpret_cast<NMITEMACTIVATE*>(header)->iItem >= 0) play();
      return 0;
    case NM_RCLICK: {
      POINT p;
      GetCursorPos(&p);
      POINT local = p;
      ScreenToClient(list_.get(), &local);
      const int32_t line = hitLine(local);
      if (line >= 0 && !ListView_GetItemState(list_.get(), line, LVIS_SELECTED)) selectOnly(line, false);
      onContextMenu(line, p);
      return 0;
    }
    case LVN_BEGINDRAG:
      beginDrag();
      return 0;
    case LVN_BEGINLABELEDITA: {
      if (!editingByKey_) return TRUE;
      if (HWND edit = ListView_GetEditControl(list_.get()))
        SetWindowTextA(edit, cellText(pl_, editLine_, colName).c_str());
      return FALSE;
    }
    case LVN_ENDLABELEDITA:
      endDescEdit(reinterpret_cast<NMLVDISPINFOA*>(header)->item.pszText);
      return FALSE;
    default:
      return 0;
  }
}

void TPLEditorWnd::onListKey(WORD vk) {
  if (dragging_ && vk == VK_ESCAPE) {
    ReleaseCapture();
    return;
  }
  const bool control = GetKeyState(VK_CONTROL) < 0;
  if (control && vk == 'Z') return undo();
  if (focusLine() < 0) return;
  switch (vk) {
    case VK_DELETE:
      return runCommand("del");
    case VK_INSERT:
      return runCommand("add_file");
    case VK_F2:
      return runCommand("desc");
    case VK_F3:
      return runCommand("info");
    case VK_RETURN:
      return runCommand("play");
    default:
      return;
  }
}

void TPLEditorWnd::onContextMenu(int32_t line, POINT screen) {
  const std::vector<MenuItem> items = contextMenuFor(pl_, line, host_.menuSources());
  menuCommands_.clear();
  std::function<HMENU(const std::vector<MenuItem>&)> build = [&](const std::vector<MenuItem>& level) {
    HMENU menu = CreatePopupMenu();
    for (const MenuItem& item : level) {
      const std::string caption = tr(item.caption.c_str());
      if (item.kind == MenuItem::Kind::separator) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      } else if (item.kind == MenuItem::Kind::submenu) {
        HMENU sub = build(item.children);
        AppendMenuA(menu, MF_POPUP | (item.children.empty() ? MF_GRAYED : 0), reinterpret_cast<UINT_PTR>(sub),
                    caption.c_str());
      } else {
        unsigned id = commandIdOf(item.command);
        if (!id) {
          id = kFirstDynamicId + static_cast<unsigned>(menuCommands_.size());
          menuCommands_.push_back(item.command);
        }
        AppendMenuA(menu, MF_STRING, id, caption.c_str());
      }
    }
    return menu;
  };
  UniqueMenu menu(build(items));
  SetForegroundWindow(hwnd());
  const unsigned id = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, hwnd(), nullptr);
  if (id) SendMessageA(hwnd(), WM_COMMAND, id, 0);
}

void TPLEditorWnd::onInfoReady(WPARAM wParam, LPARAM lParam) {
  MSG m{hwnd(), msgInfoReady, wParam, lParam, 0, {0, 0}};
  auto r = std::make_unique<ZvQueryResult>();
  getMsgPrm(&m, r.get());
  // The block is released by finishMsg alone (the bus's rule).
  finishMsg(&m);
  r->path[sizeof(r->path) - 1] = 0;
  r->description[sizeof(r->description) - 1] = 0;
  r->info[sizeof(r->info) - 1] = 0;
  if (!r->path[0]) {
    if (r->tag == queryTag(number_)) {
      if (owns_) plCalcTimes(pl_);
      InvalidateRect(list_.get(), nullptr, FALSE);
    }
    return;
  }
  const int32_t line = r->line;
  if (line < 0 || line >= plGetCount(pl_) || lstrcmpiA(plGetName(pl_, line), r->path) != 0) return;
  if (r->description[0]) plSetDesc(pl_, line, r->description);
  if (r->info[0]) plSetInfo(pl_, line, r->info);
  if (PlaylistLine* rec = plGetRec(pl_, line)) {
    if (r->lengthMs > 0) rec->time = r->lengthMs;
    if (r->sizeKb >= 0) rec->size = r->sizeKb;
  }
  const int32_t top = topLine();
  if (line >= top && line <= top + ListView_GetCountPerPage(list_.get())) ListView_RedrawItems(list_.get(), line, line);
}

// Lines are handed to the scanner a slice at a time from the message
// queue, so a long playlist is painted and answers at once while its
// descriptions are still being asked for.
void TPLEditorWnd::queueDescriptions(int32_t first, int32_t count) {
  const int32_t end = std::min(plGetCount(pl_), first + count);
  first = std::max(first, 0);
  if (first >= end) return;
  if (queueNext_ < 0) {
    queueNext_ = first;
    queueEnd_ = end;
    PostMessageA(hwnd(), kQueueMessage, 0, 0);
  } else {
    queueNext_ = std::min(queueNext_, first);
    queueEnd_ = std::max(queueEnd_, end);
  }
}

void TPLEditorWnd::queueSlice() {
  if (queueNext_ < 0) return;
  const ZvTarget me = reinterpret_cast<ZvTarget>(hwnd());
  const int32_t end = std::min({queueEnd_, plGetCount(pl_), queueNext_ + kQueueSlice});
  for (int32_t i = queueNext_; i < end; ++i) {
    const PlaylistLine* rec = plGetRec(pl_, i);
    const char* name = plGetName(pl_, i);
    if (!rec || !name[0] || rec->time != 0 || plGetDesc(pl_, i)[0] || plGetInfo(pl_, i)[0]) continue;
    queryInfo(name, me, queryTag(number_), i);
    queuedAny_ = true;
  }
  queueNext_ = end;
  if (queueNext_ < std::min(queueEnd_, plGetCount(pl_))) {
    PostMessageA(hwnd(), kQueueMessage, 0, 0);
    return;
  }
  queueNext_ = queueEnd_ = -1;
  if (queuedAny_) finishQueryInfo(me, queryTag(number_));
  queuedAny_ = false;
}

// ---- Commands ----

void TPLEditorWnd::runCommand(const std::string& command) {
  if (command == "desc") return beginDescEdit();
  if (command == "info") return showInfo();
  if (command == "play") return play();
  if (command == "del") return deleteSelection();
  if (command == "add_file") return addFiles();
  if (command == "add_dir") return addDirectory();
  if (command == "add_group") return addGroup();
  if (command == "findcur") return findCurrent();
  if (command == "undo") return undo();
  if (command.rfind("add:", 0) == 0) return addLocation(command.substr(4), AddWhere::relative);
  if (const int32_t mode = sortModeOf(command); mode >= 0) return sortGroup(mode);
}

void TPLEditorWnd::edit(const std::function<void()>& change, bool keepUndo) {
  if (keepUndo) {
    if (!undo_) undo_ = createPlaylist(-1);
    plCopy(undo_, pl_);
  }
  if (owns_) {
    change();
    modified_ = true;
  } else {
    host_.editMainPlaylist(change);
  }
  refresh();
  if (!owns_) set_.mainListChanged();
}

void TPLEditorWnd::addLocation(const std::string& location, AddWhere where) {
  if (location.empty()) return;
  int32_t line = focusLine();
  if (line < 0 && owns_ && plGetCount(pl_) > 0) line = 0;
  InsertPoint at = insertPoint(pl_, line, where);
  const int32_t before = plGetCount(pl_);
  edit([&] { plInsFile(pl_, at.index, location.c_str(), 0, at.shift); }, true);
  const int32_t added = plGetCount(pl_) - before;
  if (added > 0) {
    selectOnly(std::min(at.index, plGetCount(pl_) - 1), false);
    queueDescriptions(at.index, added);
  }
}

void TPLEditorWnd::addFiles() {
  const std::vector<std::string> files =
      host_.dialogs().openFiles(hwnd(), tr("AllFiles###All files") + " (*.*)|*.*");
  if (files.empty()) return;
  int32_t line = focusLine();
  if (line < 0 && owns_ && plGetCount(pl_) > 0) line = 0;
  InsertPoint at = insertPoint(pl_, line, AddWhere::relative);
  const int32_t first = at.index;
  edit(
      [&] {
        // Each file after the one before it: the chosen order is kept.
        for (const std::string& file : files) {
          const int32_t before = plGetCount(pl_);
          plInsFile(pl_, at.index, file.c_str(), 0, at.shift);
          at.index += plGetCount(pl_) - before;
        }
      },
      true);
  if (at.index > first) {
    selectOnly(std::min(first, plGetCount(pl_) - 1), false);
    queueDescriptions(first, at.index - first);
  }
}

void TPLEditorWnd::addDirectory() {
  if (auto folder = host_.dialogs().chooseFolder(hwnd(), tr("AddDir###Add directory")))
    addLocation(*folder, AddWhere::relative);
}

void TPLEditorWnd::addGroup() {
  int32_t line = focusLine();
  if (line < 0 && owns_ && plGetCount(pl_) > 0) line = 0;
  int32_t added = -1;
  edit([&] { added = addGroupHeading(pl_, line, tr("NewGroup###New group")); }, true);
  if (!owns_) added = std::min(added, plGetCount(pl_) - 1);
  selectOnly(added, false);
}

void TPLEditorWnd::deleteSelection() {
  std::vector<int32_t> heads = branchHeads(pl_, selection());
  // Line 0 is never deleted (an editor's own playlist keeps its root).
  heads.erase(std::remove(heads.begin(), heads.end(), 0), heads.end());
  if (heads.empty()) return;
  const int32_t first = heads.front();
  edit(
      [&] {
        for (auto h = heads.rbegin(); h != heads.rend(); ++h) plDelBranch(pl_, *h);
      },
      true);
  clearSelection();
  selectOnly(std::min(first, plGetCount(pl_) - 1), false);
}

void TPLEditorWnd::sortGroup(int32_t mode) {
  const int32_t line = focusLine();
  if (line < 0 || !isGroupLine(pl_, line)) return;
  edit([&] { sortChildren(pl_, line, mode); }, true);
}

void TPLEditorWnd::undo() {
  if (!undo_) return;
  Playlist previous = undo_;
  undo_ = nullptr;
  edit([&] { plCopy(pl_, previous); }, false);
  freePlaylist(previous);
  queueDescriptions(0, plGetCount(pl_));
}

void TPLEditorWnd::takeCopyOfMain() {
  if (owns_) return;
  Playlist copy = createPlaylist(-1);
  plCopy(copy, pl_);
  pl_ = copy;
  owns_ = true;
  refresh();
}

void TPLEditorWnd::play() {
  int32_t line = focusLine();
  if (owns_) {
    set_.detachMainEditors(this);
    host_.replaceMainPlaylist(pl_);
    freePlaylist(pl_);
    pl_ = host_.mainPlaylist();
    owns_ = false;
    freePlaylist(undo_);
    undo_ = nullptr;
    refresh();
  }
  if (line < 0) line = 0;
  host_.playMainLine(line);
  InvalidateRect(list_.get(), nullptr, FALSE);
}

void TPLEditorWnd::showInfo() {
  const int32_t line = focusLine();
  if (line < 0 || isGroupLine(pl_, line) || !plGetName(pl_, line)[0]) return;
  host_.showFileInfo(plGetName(pl_, line));
}

void TPLEditorWnd::beginDescEdit() {
  const int32_t line = focusLine();
  if (line < 0) return;
  editLine_ = line;
  editingByKey_ = true;
  SetFocus(list_.get());
  HWND edit = ListView_EditLabel(list_.get(), line);
  editingByKey_ = false;
  if (!edit) return;
  // Over the name cell, after the indentation and the tree icon.
  RECT row{};
  ListView_GetItemRect(list_.get(), line, &row, LVIR_BOUNDS);
  const int left = row.left + kIndentMargin + levelOf(pl_, line) * kIndentStep + 10;
  const int right = row.left + ListView_GetColumnWidth(list_.get(), colName);
  MoveWindow(edit, left, row.top, std::max(40, right - left), row.bottom - row.top + 2, TRUE);
}

void TPLEditorWnd::endDescEdit(const char* text) {
  const int32_t line = editLine_;
  editLine_ = -1;
  if (!text || line < 0 || line >= plGetCount(pl_)) return;
  const std::string name = plGetName(pl_, line);
  if (!name.empty()) {
    setDesc(name.c_str(), text);
    plSetDesc(pl_, line, text);
    if (!text[0]) queueDescriptions(line, 1);
  } else {
    // A heading keeps its text as its own desc.
    plSetDesc(pl_, line, text);
    if (owns_) modified_ = true;
  }
  ListView_RedrawItems(list_.get(), line, line);
  if (!owns_) set_.mainListChanged();
}

void TPLEditorWnd::findCurrent() {
  const int32_t line = currentLine();
  if (line >= 0) selectOnly(line, true);
}

void TPLEditorWnd::searchTyped() {
  const std::string text = windowText(search_.get());
  const int32_t line =
      quickSearch(plGetCount(pl_), [&](int32_t i) { return cellText(pl_, i, colName); }, text, 1, 1);
  if (line >= 0) selectOnly(line, true);
}

bool TPLEditorWnd::searchKey(UINT vk) {
  const std::string text = windowText(search_.get());
  if (vk == VK_ESCAPE) {
    if (text.empty()) return false;
    SetWindowTextA(search_.get(), "");
    SetFocus(list_.get());
    return true;
  }
  if (vk != VK_UP && vk != VK_DOWN) return false;
  const int32_t from = focusLine();
  const int32_t line = quickSearch(plGetCount(pl_), [&](int32_t i) { return cellText(pl_, i, colName); }, text,
                                   vk == VK_DOWN ? from + 1 : from - 1, vk == VK_DOWN ? 1 : -1);
  if (line >= 0) selectOnly(line, true);
  return true;
}

bool TPLEditorWnd::translateEditorMessage(MSG& msg) {
  if (msg.message != WM_KEYDOWN || !msg.hwnd) return false;
  auto* editor = dynamic_cast<TPLEditorWnd*>(ui::TSkinnedWnd::fromWindow(GetParent(msg.hwnd)));
  if (!editor || msg.hwnd != editor->search_.get()) return false;
  return editor->searchKey(static_cast<UINT>(msg.wParam));
}

// ---- Drag and drop ----

void TPLEditorWnd::beginDrag() {
  if (selection().empty()) return;
  dragging_ = true;
  dropTarget_ = nullptr;
  SetCapture(hwnd());
}

void TPLEditorWnd::dragMove(POINT screen) {
  TPLEditorWnd* target = set_.byListWindow(WindowFromPoint(screen));
  if (dropTarget_ && dropTarget_ != target) dropTarget_->setDropMarker(-1, 0);
  dropTarget_ = target;
  if (!target) return;
  POINT p = screen;
  ScreenToClient(target->list_.get(), &p);
  const auto [t, level] = target->dropPlace(p);
  target->setDropMarker(t, level);
}

void TPLEditorWnd::dragEnd(POINT screen, bool drop) {
  dragging_ = false;
  if (GetCapture() == hwnd()) ReleaseCapture();
  TPLEditorWnd* target = drop ? set_.byListWindow(WindowFromPoint(screen)) : nullptr;
  if (dropTarget_) dropTarget_->setDropMarker(-1, 0);
  dropTarget_ = nullptr;
  if (!target) return;
  POINT p = screen;
  ScreenToClient(target->list_.get(), &p);
  LinesDragData data{};
  std::memcpy(data.magic, kDragFormatName, 8);
  data.editor = number_;
  data.serial = serial_;
  // Within one editor the lines move, to another they are copied; Ctrl
  // copies and Shift moves either way.
  bool copy = target != this;
  if (GetKeyState(VK_CONTROL) < 0) copy = true;
  if (GetKeyState(VK_SHIFT) < 0) copy = false;
  target->dropLines(data, p, copy);
}

std::pair<int32_t, int32_t> TPLEditorWnd::dropPlace(POINT at) const {
  if (plGetCount(pl_) == 0) return {-1, 0};
  bool upper = false;
  const int32_t hit = hitLine(at, &upper);
  const int32_t t = dropTargetLine(pl_, hit, upper);
  RECT row{};
  ListView_GetItemRect(list_.get(), std::max(t, 0), &row, LVIR_BOUNDS);
  return {t, dropLevel(pl_, t, at.x - row.left)};
}

bool TPLEditorWnd::dropLines(const LinesDragData& data, POINT at, bool copy) {
  if (std::memcmp(data.magic, kDragFormatName, 8) != 0) return false;
  // The block names an editor: it is used only when that editor still lives.
  TPLEditorWnd* source = set_.find(data.editor, data.serial);
  if (!source) return false;
  std::vector<int32_t> heads = branchHeads(source->pl_, source->selection());
  if (source->owns_ && !copy) heads.erase(std::remove(heads.begin(), heads.end(), 0), heads.end());
  const auto [t, level] = dropPlace(at);
  if (heads.empty() || t < 0) return false;
  if (source->pl_ == pl_ && insideBranches(pl_, heads, t)) return false;
  const bool move = !copy;
  const bool otherList = move && source->pl_ != pl_;
  if (otherList) {
    if (!source->undo_) source->undo_ = createPlaylist(-1);
    plCopy(source->undo_, source->pl_);
  }
  DropResult result;
  auto change = [&] { result = dropBranches(pl_, t, level, source->pl_, heads, move); };
  if (otherList && !source->owns_ && owns_) {
    // Lines leave the main playlist for this one.
    edit([&] { host_.editMainPlaylist(change); }, true);
  } else {
    edit(change, true);
  }
  if (otherList) {
    if (source->owns_) source->modified_ = true;
    if (!source->owns_) set_.mainListChanged();
    source->clearSelection();
    source->refresh();
  }
  if (result.count > 0) {
    clearSelection();
    for (int32_t i = 0; i < result.count; ++i)
      ListView_SetItemState(list_.get(), result.first + i, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(list_.get(), result.first, LVIS_FOCUSED, LVIS_FOCUSED);
    queueDescriptions(result.first, result.count);
  }
  return result.count > 0;
}

bool TPLEditorWnd::dropFiles(const std::vector<std::string>& files, POINT at) {
  if (files.empty()) return false;
  Playlist added = createPlaylist(-1);
  for (const std::string& file : files) plAddFile(added, file.c_str(), 0);
  const int32_t count = plGetCount(added);
  auto [t, level] = dropPlace(at);
  if (t < 0) level = 0;
  int32_t first = -1;
  if (count > 0) edit([&] { first = insertAfter(pl_, t, added, level); }, true);
  freePlaylist(added);
  if (first < 0) return false;
  selectOnly(first, false);
  queueDescriptions(first, count);
  return true;
}

// ---- Saving and closing ----

bool TPLEditorWnd::saveTo(const std::string& target) {
  if (saveContents(pl_, target) != plResultOk) {
    host_.dialogs().ask(hwnd(), tr("Error saving###Error saving") + " " + target, MB_OK | MB_ICONERROR);
    return false;
  }
  modified_ = false;
  return true;
}

bool TPLEditorWnd::save() {
  const SavePlan plan = planSave(pl_);
  switch (plan.way) {
    case SaveWay::nothing:
      return true;
    case SaveWay::direct:
      return saveTo(plan.target);
    case SaveWay::warnThenAskZ3u: {
      const std::string warning =
          tr("CantSaveM3U###Playlist contains groups and therefore can be saved only in Z3U format.");
      if (host_.dialogs().ask(hwnd(), warning, MB_OKCANCEL | MB_ICONWARNING) != IDOK) return false;
      auto target = host_.dialogs().saveFile(hwnd(), saveFilter(false, [&](const char* t) { return tr(t); }), "z3u");
      return target && saveTo(*target);
    }
    case SaveWay::ask: {
      auto target = host_.dialogs().saveFile(hwnd(), saveFilter(plan.flat, [&](const char* t) { return tr(t); }),
                                             plan.flat ? "m3u" : "z3u");
      return target && saveTo(*target);
    }
  }
  return false;
}

bool TPLEditorWnd::onClose() {
  if (closing_) return true;
  if (modified_ && plGetCount(pl_) > 0) {
    const std::string prompt = withValue(tr("SavePrompt###Save changes to %s?"), cellText(pl_, 0, colName));
    const int answer = host_.dialogs().ask(hwnd(), prompt, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return false;
    if (answer == IDYES && !save()) return false;
  }
  closeQuietly();
  return true;
}

void TPLEditorWnd::closeQuietly() {
  storeColumnWidths();
  storePosition();
  closing_ = true;
  DestroyWindow(hwnd());
}

EditorState TPLEditorWnd::state() const {
  EditorState s;
  RECT r{};
  GetWindowRect(hwnd(), &r);
  s.left = r.left;
  s.top = r.top;
  s.width = r.right - r.left;
  s.height = r.bottom - r.top;
  if (rolledUp()) {
    s.height = std::max<int32_t>(s.height, 120);
  }
  s.valueA = rolledUp() ? 1 : 0;
  s.byteB = (GetWindowLongA(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0;
  s.ownsPlaylist = owns_;
  s.caption = windowText(hwnd());
  s.selected = focusLine();
  s.firstVisible = topLine();
  s.modified = modified_;
  return s;
}

}  // namespace zv::editor
