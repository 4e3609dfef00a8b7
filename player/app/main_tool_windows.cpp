#include "main_tool_windows.h"

#include <windows.h>
#include <shlobj.h>

#include "debugstat/debug_stat_window.h"
#include "main_window.h"
#include "startup/tool_windows.h"
#include "setup/setup_window.h"
#include "zv_config.h"
#include "zv_lang.h"
#include "zv_playback.h"
#include "zv_plugins.h"

namespace zv {

namespace {

std::string programPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

std::vector<ExtensionSource> decoderSources() {
  std::vector<ExtensionSource> sources;
  for (int32_t i = 0; i < decoderCount(); ++i)
    if (const ZvDecoderRec* rec = decoderInfoByNum(i))
      sources.push_back({rec->description[0] ? rec->description : rec->fileName, rec->extensions});
  return sources;
}

std::vector<ExtensionSource> inputKindSources() {
  std::vector<ExtensionSource> sources;
  for (int32_t i = 0; i < pluginCount(); ++i)
    if (const ZvPluginRec* rec = pluginInfoByNum(i))
      if ((rec->kindFlags & pfInput) && !(rec->kindFlags & pfInternal))
        sources.push_back({rec->description[0] ? rec->description : rec->name, rec->extensions});
  return sources;
}

// A window of ours that is still on the screen.
template <class W>
bool bringToFront(const std::unique_ptr<W>& window) {
  if (!window || !window->hwnd() || !IsWindow(window->hwnd())) return false;
  ShowWindow(window->hwnd(), SW_SHOW);
  SetForegroundWindow(window->hwnd());
  return true;
}

}  // namespace

SetupToolWindows::SetupToolWindows(TMainWnd& main) : main_(main) {}
SetupToolWindows::~SetupToolWindows() = default;

bool SetupToolWindows::open(const std::string& name) {
  if (name == "setup") {
    if (bringToFront(setup_)) return true;
    SetupContext context;
    context.root = main_.dirs().root;
    context.playerExe = programPath();
    context.translate = [this](const char* text) { return main_.text(text); };
    context.applied = [this] { main_.applySettings(); };
    context.notifyShell = [] { SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr); };
    context.decoders = decoderSources;
    context.inputKinds = inputKindSources;
    setup_ = std::make_unique<TSetupWnd>(std::move(context));
    if (!setup_->open(main_.hwnd())) setup_.reset();
    return true;
  }
  if (name == "debug") {
    if (bringToFront(debugStat_)) return true;
    debugStat_ = std::make_unique<TDebugStatWnd>(main_.dirs().root, engineDebugStatSource());
    if (!debugStat_->open(nullptr)) debugStat_.reset();
    return true;
  }
  return false;
}

bool SetupToolWindows::isOpen(const std::string& name) const {
  HWND window = nullptr;
  if (name == "setup" && setup_) window = setup_->hwnd();
  if (name == "debug" && debugStat_) window = debugStat_->hwnd();
  return window && IsWindow(window) && IsWindowVisible(window);
}

void SetupToolWindows::close(const std::string& name) {
  if (name == "setup") setup_.reset();
  if (name == "debug") debugStat_.reset();
}

namespace {

// One set per program, made for the main window the first command came to.
std::unique_ptr<SetupToolWindows> g_setupWindows;

SetupToolWindows& setupWindows(TMainWnd& main) {
  if (!g_setupWindows) g_setupWindows = std::make_unique<SetupToolWindows>(main);
  return *g_setupWindows;
}

bool registerSetupWindow(const char* command, const char* flagKey) {
  const std::string name = command;
  return registerToolWindow(
      name, flagKey, [name](TMainWnd& main) { setupWindows(main).open(name); },
      [name] { return g_setupWindows && g_setupWindows->isOpen(name); },
      [name] { if (g_setupWindows) g_setupWindows->close(name); });
}

[[maybe_unused]] const bool setupRegistered = registerSetupWindow("setup", "open_setup");
[[maybe_unused]] const bool debugRegistered = registerSetupWindow("debug", "open_ds");

}  // namespace


}  // namespace zv
