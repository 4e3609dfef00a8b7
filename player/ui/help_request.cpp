#include "help_request.h"

#include <utility>

namespace zv {
namespace {

HelpHandler& installed() {
  static HelpHandler handler;
  return handler;
}

}  // namespace

HelpHandler setHelpHandler(HelpHandler handler) { return std::exchange(installed(), std::move(handler)); }

bool requestHelp(HWND owner, const std::string& page) {
  if (!installed()) return false;
  // A copy: the page may replace the handler (a test's) while it runs.
  HelpHandler handler = installed();
  handler(owner, page);
  return true;
}

bool answerHelpKey(HWND window, UINT message, const char* page) {
  if (message != WM_HELP) return false;
  requestHelp(window, page);
  return true;
}

}  // namespace zv
