#include "main_eq_timer.h"
#include "startup/tool_windows.h"

#include "commands/command_table.h"
#include "main_commands.h"
#include "main_window.h"
#include "sequencing/sequencing_settings.h"

namespace zv {

EqTimerSide::EqTimerSide(TMainWnd& main)
    : main_(main),
      eq_(main.dirs().userData + "\\eqpreset", [&main](const char* s) { return main.text(s); }),
      // The launcher, in the folder above the player's own.
      timer_(timer::localNow, scheduler_, main.dirs().root + "\\zorvak.exe") {}

EqTimerSide::~EqTimerSide() = default;

void EqTimerSide::startEqualizer() { eq_.start(); }

void EqTimerSide::startTimer() {
  timer_.load();
  timer_.startUp();
  SetTimer(main_.hwnd(), kPollTimer, 5000, nullptr);
  timerStarted_ = true;
}

void EqTimerSide::dropClosedWindows() {
  if (eqWnd_ && !eqWnd_->hwnd()) eqWnd_.reset();
  if (timerWnd_ && !timerWnd_->hwnd()) timerWnd_.reset();
  if (countdown_ && !countdown_->hwnd()) countdown_.reset();
}

void EqTimerSide::poll() {
  dropClosedWindows();
  const timer::TimerModel::Due due = timer_.poll();
  if (due.stop && main_.commands_) {
    runCommand(*main_.commands_, "stop", sourceProgram);
    if (due.action > timer::actionStop) {
      countdown_ = std::make_unique<timer::TCountdownWnd>(power_, main_.text(timer::offActionWarning(due.action)),
                                                          timer::offActionWord(due.action),
                                                          main_.text("Cancel###Cancel"));
      countdown_->open(main_.dirs().root, main_.text("Warning###Warning").c_str());
    }
  }
  if (due.play && main_.commands_) runCommand(*main_.commands_, "play", sourceProgram);
}

void EqTimerSide::fileStarted(const std::string& path) { eq_.autoLoad(path); }

void EqTimerSide::shutdown() {
  eqWnd_.reset();
  timerWnd_.reset();
  countdown_.reset();
  eq_.settle();
  if (timerStarted_) {
    KillTimer(main_.hwnd(), kPollTimer);
    timer_.store();
  }
}

// The volume keys, commands and indicator follow the reopened mixer.
void TMainWnd::mixerReopened(int32_t volumeControl, int32_t muteControl) {
  volumeControl_ = volumeControl;
  muteControl_ = muteControl;
  if (commands_) commands_->setVolumeControl(volumeControl);
}

void EqTimerSide::openEqualizer() {
  dropClosedWindows();
  if (eqWnd_) {
    ShowWindow(eqWnd_->hwnd(), SW_SHOW);
    SetForegroundWindow(eqWnd_->hwnd());
    return;
  }
  eqWnd_ = std::make_unique<eq::TEqWnd>(eq_, [this](const char* s) { return main_.text(s); }, [this] {
    const int32_t line = main_.sequencer().curFileN();
    const char* name = line >= 0 ? plGetName(main_.currentPlaylist(), line) : nullptr;
    return std::string(name ? name : "");
  });
  eqWnd_->onMixerReopened = [this](const eq::MixerIds& ids) { main_.mixerReopened(ids.volume[0], ids.mute[0]); };
  eqWnd_->onTransitionChanged = [this] {
    SequencingSettings& s = main_.sequencer().settings();
    const SequencingSettings read = readSequencingSettings();
    s.crossfade = read.crossfade;
    s.fadeMode = read.fadeMode;
    s.cfDuration = read.cfDuration;
    s.skipStart = read.skipStart;
    s.skipStartL = read.skipStartL;
    s.skipEnd = read.skipEnd;
    s.skipEndL = read.skipEndL;
  };
  if (!eqWnd_->open(main_.dirs().root, nullptr)) eqWnd_.reset();
}

void EqTimerSide::openTimer() {
  dropClosedWindows();
  if (timerWnd_) {
    ShowWindow(timerWnd_->hwnd(), SW_SHOW);
    SetForegroundWindow(timerWnd_->hwnd());
    return;
  }
  timerWnd_ = std::make_unique<timer::TTimerWnd>(timer_, power_, [this](const char* s) { return main_.text(s); });
  if (!timerWnd_->open(main_.dirs().root, nullptr)) timerWnd_.reset();
}

// "eq" and "timer" through the registry of tool windows.
namespace {

TMainWnd* g_main = nullptr;

EqTimerSide* side() { return g_main ? g_main->eqTimer() : nullptr; }

[[maybe_unused]] const bool eqRegistered = registerToolWindow(
    "eq", "open_eq",
    [](TMainWnd& main) {
      g_main = &main;
      if (EqTimerSide* s = side()) s->openEqualizer();
    },
    [] { return side() && side()->equalizerOpen(); }, [] { if (side()) side()->closeEqualizer(); });

[[maybe_unused]] const bool timerRegistered = registerToolWindow(
    "timer", "open_timer",
    [](TMainWnd& main) {
      g_main = &main;
      if (EqTimerSide* s = side()) s->openTimer();
    },
    [] { return side() && side()->timerOpen(); }, [] { if (side()) side()->closeTimer(); });

}  // namespace

}  // namespace zv
