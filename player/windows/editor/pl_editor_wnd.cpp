// TPLEditorWnd: creation, layout, the list and its messages.
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

#include "pl_editor_internal.h"
#include "help_request.h"

namespace zv::editor {

using namespace detail;

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

// A row's fill reaches past the last column to the list's edge, so the
// whole width is invalidated; the list itself would redraw only the columns.
void TPLEditorWnd::redrawLine(int32_t line) {
  RECT row{}, client{};
  if (line < 0 || !list_ || !ListView_GetItemRect(list_.get(), line, &row, LVIR_BOUNDS)) return;
  GetClientRect(list_.get(), &client);
  row.left = client.left;
  row.right = std::max(row.right, client.right);
  InvalidateRect(list_.get(), &row, FALSE);
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


void TPLEditorWnd::updateHot(bool overList) {
  int32_t hot = -1;
  if (overList) {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(list_.get(), &p);
    hot = hitLine(p);
  }
  if (hot == hot_) return;
  const int32_t old = hot_;
  hot_ = hot;
  redrawLine(old);
  redrawLine(hot);
  if (hot >= 0 && old < 0) SetTimer(hwnd(), kHoverTimer, 200, nullptr);
  if (hot < 0) KillTimer(hwnd(), kHoverTimer);
}

// ---- Messages ----

LRESULT TPLEditorWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (zv::answerHelpKey(hwnd(), message, "pledit.html")) return TRUE;
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
      if (!dragging_) updateHot(reinterpret_cast<HWND>(wParam) == list_.get());
      break;
    case WM_TIMER:
      // The mouse may leave for another program's window without a word to
      // the list: the line under it is checked until it is gone.
      if (wParam == kHoverTimer) {
        POINT p;
        GetCursorPos(&p);
        updateHot(WindowFromPoint(p) == list_.get());
        return 0;
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
    case LVN_ITEMCHANGED: {
      // Selected or no longer: the list redrew the columns, the rest follows.
      const auto* change = reinterpret_cast<const NMLISTVIEW*>(header);
      if ((change->uNewState ^ change->uOldState) & LVIS_SELECTED) {
        if (change->iItem >= 0) redrawLine(change->iItem);
        else InvalidateRect(list_.get(), nullptr, FALSE);  // every line at once
      }
      return 0;
    }
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

}  // namespace zv::editor
