// TPLEditorWnd: saving, the close prompt and the state record.
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
    case SaveWay::ask:
      return saveAsked(plan.flat);
  }
  return false;
}

// The contents have no file of their own: the save dialog with the
// options ("lsd2") asks where they go and what else to do.
bool TPLEditorWnd::saveAsked(bool flat) {
  SaveOptions options;
  const std::vector<std::string> texts = {tr("SaveEditPl###Edit created playlist"),
                                          tr("SaveEditNewWin###Edit in new window"),
                                          tr("SaveSubPl###Save subplaylists"), tr("SaveStructure###Save structure")};
  auto target = host_.dialogs().saveFileWithOptions(
      hwnd(), saveFilter(flat, [&](const char* t) { return tr(t); }), flat ? "m3u" : "z3u", options, texts);
  if (!target) return false;
  options = effectiveOptions(options);
  std::vector<std::string> failed;
  const bool written = saveWithOptions(pl_, *target, options, failed);
  if (!failed.empty()) {
    std::string names;
    for (const std::string& name : failed) names += (names.empty() ? "" : ", ") + name;
    host_.dialogs().ask(hwnd(), tr("Error saving###Error saving") + " " + names, MB_OK | MB_ICONERROR);
  }
  if (!written) return false;
  modified_ = false;
  if (options.editCreated) {
    if (options.editInNewWindow) set_.openLocation(*target);
    else editFile(*target);
  }
  return true;
}

void TPLEditorWnd::editFile(const std::string& file) {
  Playlist pl = createPlaylist(-1);
  plAddFile(pl, file.c_str(), 0);
  if (plGetCount(pl) == 0) {
    PlaylistLine root{};
    root.flags = plGetFlags(file.c_str());
    plAddLine(pl, &root, file.c_str(), "", "");
  }
  clearSelection();
  if (owns_) freePlaylist(pl_);
  pl_ = pl;
  owns_ = true;
  freePlaylist(undo_);
  undo_ = nullptr;
  modified_ = false;
  hot_ = -1;
  queueNext_ = queueEnd_ = -1;
  const std::string caption = cellText(pl_, 0, colName);
  SetWindowTextA(hwnd(), (caption.empty() ? file : caption).c_str());
  InvalidateRect(hwnd(), nullptr, FALSE);
  refresh();
  if (plGetCount(pl_) > 0) selectOnly(plGetCount(pl_) > 1 ? 1 : 0, false);
  queueDescriptions(0, plGetCount(pl_));
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
