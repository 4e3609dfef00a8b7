// A disc arrived in `drive` ('D'): when it asks to be opened (its
// autorun.inf, or a name of "cdAutoOpen" in its root), the auto-play window
// asks how, and the drive ("D:") is opened as one open operation.
#pragma once

namespace zv {

class TMainWnd;
void offerArrivedDisc(TMainWnd& main, char drive);

}  // namespace zv
