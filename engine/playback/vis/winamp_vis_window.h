// The "Winamp 1.x" window that an outside visualisation takes as its parent:
// it answers the library's WM_USER questions about the song from the last
// song information block.
#pragma once
#include <windows.h>

#include "win32/window_base.h"
#include "zv_vis.h"

namespace zv {

class WinampVisWindow : public WindowBase {
 public:
  ~WinampVisWindow() override { destroy(); }

  // A tool popup over `rect`, titled with the song title, brought to the
  // foreground. Owned by the calling thread, which must dispatch its messages.
  bool create(const RECT& rect);

  // Keeps the block for the library's questions and retitles the window.
  void setSongInfo(const ZvVisSongInfo& info);

  // The answer to WM_USER with these parameters.
  LRESULT answer(WPARAM wParam, LPARAM lParam);

 private:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

  ZvVisSongInfo info_ = {};
  // What the library gets addresses of; they stay valid until the next question.
  char fileNameCopy_[260] = {};
  char titleCopy_[260] = {};
  char emptyText_[1] = {};
};

}  // namespace zv
