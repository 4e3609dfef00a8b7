// TPLEditorWnd: asking the scanner for descriptions and taking its answers.
#include "pl_editor_wnd.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "descriptions/description_answers.h"
#include "editor_columns.h"
#include "editor_edits.h"
#include "editor_set.h"
#include "win_pos.h"
#include "zv_desc.h"
#include "zv_plugins.h"

#include "pl_editor_internal.h"

namespace zv::editor {

using namespace detail;

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
  // News about a file of the main playlist is written by the main window,
  // which then refreshes its editors.
  if (isFileNews(*r) && !owns_) return;
  const std::vector<int32_t> lines = applyDescriptionAnswer(pl_, *r);
  if (lines.empty()) return;
  if (isFileNews(*r)) {
    InvalidateRect(list_.get(), nullptr, FALSE);
    return;
  }
  const int32_t line = lines.front();
  // A description cleared in this editor of the main playlist comes back
  // here; the main window shows it on its labels too.
  if (!owns_ && r->description[0]) host_.mainLineTextChanged(line);
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

}  // namespace zv::editor
