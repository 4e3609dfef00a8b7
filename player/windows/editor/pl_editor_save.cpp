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
