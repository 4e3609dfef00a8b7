// toolview.exe [/root DIR] /eq [1|2|3] | /fr | /timer | /countdown | /prompt | /setup [1..6] [/at X Y]
// Shows a tool window with a settings section of its own ("zvtoolview"),
// prints "window WHAT X Y WIDTH HEIGHT" once it is drawn, and runs until the
// window is closed. "./zv screenshots" drives it. Its power port does
// nothing: the countdown shown here never acts.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "countdown_window.h"
#include "eq_model.h"
#include "eq_window.h"
#include "prompt_window.h"
#include "setup/setup_window.h"
#include "timer_window.h"
#include "zv_config.h"
#include "zv_mixer.h"
#include "zv_plugins.h"

namespace {

using namespace zv;

class InertPower final : public timer::PowerPort {
 public:
  bool canEnableShutdownPrivilege() override { return true; }
  bool isNt5OrLater() override { return true; }
  bool hibernationFilePresent() override { return true; }
  void standby() override {}
  void hibernate() override {}
  void shutdown() override {}
};

class InertScheduler final : public timer::SchedulerPort {
 public:
  bool add(const std::string&, const std::string&, const std::string&) override { return true; }
  bool del() override { return true; }
};

std::string argValue(int argc, char** argv, const char* name, const char* fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (_stricmp(argv[i], name) == 0) return argv[i + 1];
  return fallback;
}

bool hasArg(int argc, char** argv, const char* name) {
  for (int i = 1; i < argc; ++i)
    if (_stricmp(argv[i], name) == 0) return true;
  return false;
}

void announce(const char* what, HWND window, int argc, char** argv) {
  for (int i = 1; i + 2 < argc; ++i)
    if (_stricmp(argv[i], "/at") == 0)
      SetWindowPos(window, nullptr, std::atoi(argv[i + 1]), std::atoi(argv[i + 2]), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  GdiFlush();
  RECT r;
  GetWindowRect(window, &r);
  std::printf("window %s %ld %ld %ld %ld\n", what, r.left, r.top, r.right - r.left, r.bottom - r.top);
  std::fflush(stdout);
}

std::string rootOf() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir = path;
  dir = dir.substr(0, dir.find_last_of('\\'));
  return dir.substr(0, dir.find_last_of('\\'));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string root = argValue(argc, argv, "/root", rootOf().c_str());
  setConfigMode("zvtoolview", 0);
  InertPower power;
  InertScheduler scheduler;
  eq::EqModel eqModel(root + "\\data\\toolview\\eqpreset", nullptr);
  timer::TimerModel timerModel(timer::localNow, scheduler, root + "\\zorvak.exe");
  std::unique_ptr<ui::TFrameWnd> window;
  const bool response = hasArg(argc, argv, "/fr");
  HWND shown = nullptr;
  if (hasArg(argc, argv, "/eq") || response) {
    eqModel.start();
    // A curve to look at.
    const int curve[13] = {0, 40, 55, 30, 10, -15, -30, -20, 0, 25, 45, 60, 50};
    for (int s = 0; s < 13; ++s) eqModel.setGain(s - 1, static_cast<float>(std::pow(10.0, curve[s] / 200.0)));
    eqModel.setEnabled(true);
    openMixer();
    auto eqWnd = std::make_unique<eq::TEqWnd>(eqModel, nullptr, [] { return std::string(); });
    if (!eqWnd->open(root, nullptr)) return 1;
    const int page = std::atoi(argValue(argc, argv, "/eq", "1").c_str());
    if (page >= 1 && page <= 3) eqWnd->showPage(static_cast<eq::TEqWnd::Page>(page - 1));
    if (response) {
      eqWnd->runCommand("fr");
      if (eqWnd->responseWindow()) shown = eqWnd->responseWindow()->hwnd();
    }
    window = std::move(eqWnd);
  } else if (hasArg(argc, argv, "/timer")) {
    timerModel.load();
    timerModel.setOffTime(23 * 60 + 30);
    timerModel.setOffAction(timer::actionStandby);
    timerModel.armOff(true);
    auto timerWnd = std::make_unique<timer::TTimerWnd>(timerModel, power, nullptr);
    if (!timerWnd->open(root, nullptr)) return 1;
    window = std::move(timerWnd);
  } else if (hasArg(argc, argv, "/countdown")) {
    auto countdown = std::make_unique<timer::TCountdownWnd>(
        power, "Entering standby mode in 15 seconds...", "", "Cancel", 1000);
    if (!countdown->open(root, "Warning")) return 1;
    for (int i = 0; i < 6; ++i) countdown->step();
    window = std::move(countdown);
  } else if (hasArg(argc, argv, "/setup")) {
    // The settings window on one of its pages, with the engine's plug-ins
    // and registrations under a key of its own.
    initPlugins();
    HKEY shell = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\zvtoolview\\classes", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &shell,
                    nullptr);
    SetupContext context;
    context.root = root;
    context.playerExe = root + "\\bin\\zorvak.exe";
    context.shell = ShellRoots{shell, shell};
    auto setup = std::make_unique<TSetupWnd>(std::move(context));
    if (!setup->open(nullptr)) return 1;
    const int page = std::atoi(argValue(argc, argv, "/setup", "1").c_str());
    if (page >= 1 && page <= TSetupWnd::pageCount) setup->showPage(page - 1);
    window = std::move(setup);
  } else if (hasArg(argc, argv, "/prompt")) {
    // Modal: told once it shows, it runs until answered.
    ui::TPromptWnd prompt;
    prompt.onShown = [&](ui::TPromptWnd& p) { announce("tool", p.hwnd(), argc, argv); };
    prompt.ask(root, nullptr, "Save preset", "Preset name:", "Evening");
    return 0;
  } else {
    std::fprintf(stderr, "toolview: /eq [1|2|3], /fr, /timer, /countdown, /prompt or /setup [1..6]\n");
    return 2;
  }
  announce("tool", shown ? shown : window->hwnd(), argc, argv);
  MSG msg;
  while (window->hwnd() && GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
