// The main window's start and shutdown: the bodies of the steps, run in the
// order of the step tables (startup/lifecycle_steps). Steps whose windows
// do not exist yet (tray, timer, editors) have no body; the windows reopened
// at start-up are those that registered themselves (startup/tool_windows.h),
// and the flags of the others stay as they were read.
#include <windows.h>

#include <cstdlib>
#include <map>
#include <utility>

#include "commands/command_table.h"
#include "diagnostic_line.h"
#include "help_pages.h"
#include "main_eq_timer.h"
#include "main_window.h"
#include "mixer_lines.h"
#include "sequencing/disc_changes.h"
#include "startup/exe_path.h"
#include "startup/lifecycle_steps.h"
#include "startup/tool_windows.h"
#include "video_wnd.h"
#include "zv_cdaudio.h"
#include "zv_config.h"
#include "zv_desc.h"
#include "zv_lang.h"
#include "zv_memory.h"
#include "zv_mixer.h"
#include "zv_plugins.h"
#include "zvdsp.h"
#include "zvid3.h"

namespace zv {
namespace {

constexpr UINT kLabelsPeriodMs = 250, kCrossfadePeriodMs = 500;
constexpr uint32_t kSpeakers = 4, kVolumeControl = 0x50030001, kMuteControl = 0x20010002;

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string modulePath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof(path));
  return path;
}


}  // namespace

bool TMainWnd::start() {
  if (!createSkinned("Zorvak", nullptr, nullptr, false)) return false;
  const ZvTarget me = reinterpret_cast<ZvTarget>(hwnd());
  bool playIntent = false;
  SequencingSettings settings;
  int32_t volumeControl = -1;

  using S = StartStep;
  StepRunner<StartStep> steps;
  steps.on(S::seedAndHooks, [] {
    std::srand(GetTickCount());
    return true;
  });
  steps.on(S::configMode, [] {
    setConfigMode("Zorvak", -1);
    return true;
  });
  steps.on(S::priority, [] {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
    return true;
  });
  steps.on(S::plugins, [&] {
    initPlugins();
    visInstance_ = startPlugin("vis", me);
    winampVisInstance_ = startPlugin("winampvis", me);
    samplerInstance_ = startPlugin("insampler", me);
    pluginsStarted_ = true;
    return true;
  });
  steps.on(S::outputSettings, [&] {
    ZvOutParams params{};
    if (configRec("outParams", &params, sizeof(params))) outSetParams(&params);
    eqTimer_ = std::make_unique<EqTimerSide>(*this);
    eqTimer_->startEqualizer();
    return true;
  });
  steps.on(S::playIntent, [&] {
    playIntent = switches_.playIntent(configBool("autoStart", ZV_TRUE) != 0);
    return true;
  });
  steps.on(S::settings, [&] {
    settings = readSequencingSettings();
    visData_ = readVisData();
    char language[260];
    configString("Lang", language, "en");
    lang_.setLanguage(dirs_.root + "\\lang", language, "messages.dat");
    setEngineLang((dirs_.root + "\\lang").c_str(), language, "engine.dat");
    return true;
  });
  steps.on(S::exePath, [] {
    writeExePath(HKEY_CURRENT_USER, modulePath());
    return true;
  });
  steps.on(S::skin, [&] {
    char name[260];
    configString("skin", name, "Default");
    ui::MainSkinResult loaded = ui::loadMainSkins(dirs_.root, name, ui::MainSkinPurpose::startUp);
    if (!loaded.ok()) {
      MessageBoxA(nullptr, ui::skinLoadFailedText(), ui::skinLoadFailedCaption(loaded.error), MB_ICONERROR);
      exitCode_ = loaded.exitCode;
      return false;
    }
    if (loaded.fellBackToDefault)
      writeDiagnosticLine(std::string("Skin \"") + name + "\" could not be loaded; \"Default\" is used");
    for (const std::string& line : ui::skinProblemLines(loaded.skins)) writeDiagnosticLine(line);
    skins_ = std::move(loaded.skins);
    mini_ = configInt("winstate", 0) == 1 && skins_.mini;
    setSkin(mini_ ? skins_.mini.get() : skins_.full.get());
    createChildren();
    return true;
  });
  steps.on(S::createPlaylists, [&] {
    current_ = createPlaylist(-1);
    favorites_ = createPlaylist(-1);
    recent_ = createPlaylist(-1);
    port_ = std::make_unique<EngineStreamPort>(me);
    seq_ = std::make_unique<Sequencer>(current_, *port_, *this);
    seq_->settings() = settings;
    seq_->setPlayIntent(playIntent);
    return true;
  });
  steps.on(S::broadcastFilters, [me] {
    for (int32_t code : {int32_t(msgInfoReady), int32_t(7025), int32_t(msgFileChanged), int32_t(msgDiscChange)}) addBroadcastFilter(me, code);
    return true;
  });
  steps.on(S::mainThread, [] {
    debugAddThread("Main thread", GetCurrentThreadId(), GetCurrentThread());
    return true;
  });
  steps.on(S::mixer, [&] {
    if (openMixer() == 0) {  // 0 is success
      const int32_t line = findLine(kSpeakers);
      if (line != -1) volumeControl = findCtl(line, kVolumeControl);
      if (line != -1) muteControl_ = findCtl(line, kMuteControl);
      volumeControl_ = volumeControl;
    }
    commands_ = std::make_unique<MainCommands>(*this, *seq_, volumeControl);
    return true;
  });
  steps.on(S::timer, [&] {
    eqTimer_->startTimer();
    return true;
  });
  steps.on(S::showWindow, [&] {
    SetWindowTextA(hwnd(), "Zorvak");
    moveToStatePosition();
    applySettings();
    registerDropTarget();
    ShowWindow(hwnd(), SW_SHOW);
    SetTimer(hwnd(), 1, kLabelsPeriodMs, nullptr);
    SetTimer(hwnd(), 2, kCrossfadePeriodMs, nullptr);
    return true;
  });
  steps.on(S::loadingCaption, [&] {
    if (labels_.size() > 1) labels_[1]->setText(text("Loading###Loading..."));
    UpdateWindow(hwnd());
    return true;
  });
  steps.on(S::loadPlaylist, [&] {
    playlistLoad_ = loadStoredPlaylist(current_, dirs_.userData + "\\playlist.dat");
    if (plGetCount(current_) == 0) seq_->newPlaylist();
    return true;
  });
  steps.on(S::cdCheck, [&] {
    dropChangedDiscLines(
        current_, presentDiscId,
        [](char letter) {
          char id[260];
          configString((std::string("CDID_") + letter).c_str(), id, "");
          return std::string(id);
        });
    return true;
  });
  steps.on(S::commandLine, [&] {
    if (switches_.items().empty()) return true;
    const OpenMode mode = switches_.openMode();
    seq_->beginOpen(mode);
    for (const std::string& item : switches_.items()) seq_->addItem(item, mode);
    seq_->endOpen(mode);
    return true;
  });
  steps.on(S::reindex, [&] {
    seq_->saveAndReindex();
    return true;
  });
  steps.on(S::resumeLine, [&] {
    if (seq_->curFileN() != -1) return true;
    const int32_t line = configInt("curFileN", 0);
    if (line < 0 || line >= plGetCount(current_)) {
      seq_->selectLine(-1, false);
      seq_->nextFile(false);
    } else {
      seq_->selectLine(line, false);
    }
    return true;
  });
  steps.on(S::favorites, [&] {
    const std::string path = dirs_.userData + "\\favorite.m3u";
    if (!fileExists(path)) {
      UniqueFile created(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    plLoad(favorites_, path.c_str(), 0);
    setDesc(path.c_str(), text("Favorites###Favorites").c_str());
    return true;
  });
  steps.on(S::recent, [&] {
    recentLoad_ = loadStoredPlaylist(recent_, dirs_.userData + "\\recent.dat");
    return true;
  });
  steps.on(S::reopenWindows, [&] {
    for (const ToolWindow* w : toolWindows().toReopen([](const std::string& key) {
           return configBool(key.c_str(), ZV_FALSE) != 0;
         }))
      w->open(*this);
    return true;
  });
  steps.on(S::helpAndEditors, [&] {
    installHelpPages(*this);
    // The editors open at the last exit come back.
    commands_->editors().restoreAll(dirs_.userData + "\\editors");
    return true;
  });
  steps.on(S::about, [&] {
    if (!configBool("seenAbout", ZV_FALSE)) {
      setConfigBool("seenAbout", ZV_TRUE);
      runCommand(*commands_, "about", sourceProgram);
    }
    return true;
  });
  const bool started = steps.run(startSteps());
  started_ = started;
  if (started)
    for (const HandOver& h : std::exchange(pendingHandOvers_, {})) actOnHandOver(h);
  updateLines();
  updatePosition();
  updatePlayButton();
  return started;
}

void TMainWnd::onClose() {
  if (closing_) return;
  closing_ = true;
  KillTimer(hwnd(), 1);
  KillTimer(hwnd(), 2);

  using D = ShutdownStep;
  StepRunner<ShutdownStep> steps;
  std::map<std::string, bool> windowFlags;
  steps.on(D::trayIcons, [&] {
    hotKeys_.unregisterAll();
    tray_.removeAll();
    if (drop_) RevokeDragDrop(hwnd());
    return true;
  });
  steps.on(D::savePlaylist, [&] {
    if (current_ && playlistLoad_.saveAllowed()) saveStoredPlaylist(current_, dirs_.userData + "\\playlist.dat");
    if (seq_) setConfigInt("curFileN", seq_->curFileN());
    return true;
  });
  steps.on(D::mixerAndTimer, [&] {
    if (eqTimer_) eqTimer_->shutdown();
    closeMixer();
    return true;
  });
  steps.on(D::windowPosition, [&] {
    storeStatePosition();
    video_.reset();  // stores its settings and the file's record
    return true;
  });
  steps.on(D::saveEditors, [&] {
    ShowWindow(hwnd(), SW_HIDE);
    if (commands_) commands_->editors().saveAndCloseAll(dirs_.userData + "\\editors");
    return true;
  });
  steps.on(D::freeWindows, [&] {
    windowFlags = toolWindows().closeAll();
    return true;
  });
  steps.on(D::windowFlags, [&] {
    for (const auto& [key, open] : windowFlags) setConfigBool(key.c_str(), open ? ZV_TRUE : ZV_FALSE);
    return true;
  });
  steps.on(D::freePlaylists, [&] {
    // The tool windows save what is pending while the plug-ins still answer.
    closeToolWindows();
    // The sequencing rules hold the current playlist: they go first.
    commands_.reset();
    for (Playlist* pl : {&current_, &favorites_, &recent_})
      if (*pl) freePlaylist(*pl), *pl = nullptr;
    return true;
  });
  steps.on(D::freePlugins, [&] {
    visPanel_.detach();
    if (pluginsStarted_) freePlugins();
    pluginsStarted_ = false;
    // Every instance has ended: no stream writes into its record any more.
    seq_.reset();
    port_.reset();
    return true;
  });
  steps.on(D::pendingTags, [&] {
    runDeferredTagWrites();
    return true;
  });
  steps.run(shutdownSteps());
  lang_.writeBack();
  DestroyWindow(hwnd());
}

}  // namespace zv
