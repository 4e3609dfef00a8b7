// TPLEditorWnd: the commands (adding, groups, deleting, sorting, undo, play, the description in place, quick search).
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

namespace zv::editor {

using namespace detail;

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
  if (!owns_) {
    // The main window's group and file lines show this text too.
    host_.mainLineTextChanged(line);
    set_.mainListChanged();
  }
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

}  // namespace zv::editor
