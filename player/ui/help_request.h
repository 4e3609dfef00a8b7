// F1 in a window of the player asks for that window's help page ("eq.html").
// Every window answers F1 the same way: its handler passes the messages it
// gets to `answerHelpKey`, which asks for the page once per key press, from
// the window itself or from any control inside it (WM_HELP climbs from a
// focused child to its top-level window).
//
// The program installs the handler at start-up (it opens the page from the
// documentation folder of the user's language); until then, and in tests
// that install none, a request does nothing. Main thread only.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

namespace zv {

using HelpHandler = std::function<void(HWND owner, const std::string& page)>;

// Replaces the handler (an empty one removes it); returns the previous one.
HelpHandler setHelpHandler(HelpHandler handler);

// Asks for `page` on behalf of `owner`; false when no handler is installed.
bool requestHelp(HWND owner, const std::string& page);

// True when `message` is the help request of F1 (WM_HELP, which the system
// makes from F1 in a window or any control of it); then `page` was asked for
// on behalf of `window` and the caller returns TRUE without passing the
// message on.
bool answerHelpKey(HWND window, UINT message, const char* page);

}  // namespace zv
