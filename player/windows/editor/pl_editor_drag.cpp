// TPLEditorWnd: dragging lines and dropping lines and files.
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

}  // namespace zv::editor
