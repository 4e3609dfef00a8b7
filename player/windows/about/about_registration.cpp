// "about" opens the one About window of the program, created on first use.
#include <memory>

#include "about/about_window.h"
#include "main_window.h"
#include "startup/tool_windows.h"

namespace zv {
namespace {

std::unique_ptr<TAboutWnd> g_about;

[[maybe_unused]] const bool registered = registerToolWindow(
    "about", "",
    [](TMainWnd& main) {
      if (!g_about) {
        auto window = std::make_unique<TAboutWnd>();
        if (!window->create(main.dirs().root, main.hwnd())) return;
        g_about = std::move(window);
      }
      g_about->bringToFront();
    },
    [] { return g_about && g_about->shown(); }, [] { g_about.reset(); });

}  // namespace
}  // namespace zv
