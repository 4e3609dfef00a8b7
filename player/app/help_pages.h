// The help pages of the player's windows: F1 in a window (help_request.h)
// opens its page from <root>\doc\<language>\ (or the English one) with the
// program the system associates with it; a missing page is reported by
// name ("EQ.HTML not found").
#pragma once

namespace zv {

class TMainWnd;

// Installed at start-up; the main window outlives every window that asks.
void installHelpPages(TMainWnd& main);

}  // namespace zv
