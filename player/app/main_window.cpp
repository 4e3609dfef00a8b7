#include "main_window.h"

#include "cddb_wnd.h"
#include "diagnostic_line.h"
#include "info_wnd.h"
#include "main_eq_timer.h"
#include <mmsystem.h>

#include <cstdio>
#include <cstring>

#include "autoplay/autoplay_offer.h"
#include "commands/command_table.h"
#include "descriptions/description_answers.h"
#include "text/program_text.h"
#include "display/label_texts.h"
#include "display/time_format.h"
#include "sequencing/disc_changes.h"
#include "startup/hand_over.h"
#include "tray/tray_rules.h"
#include "video_wnd.h"
#include "zv_cdaudio.h"
#include "zv_config.h"
#include "zv_desc.h"
#include "zv_mixer.h"
#include "zv_paths.h"
#include "zv_plugins.h"

namespace zv {
namespace {

enum TimerId : UINT_PTR { timerLabels = 1, timerCrossfade = 2 };
// The query tag of the current playlist's information requests.
constexpr int32_t kCurrentTag = 1;
const char* const kLabelNames[] = {"l1", "l2", "pos", "total", "pltotal"};
enum LabelIndex { labelGroup, labelFile, labelPosition, labelTotal, labelPlaylistTotal };
constexpr LONG_PTR kFirstLabelId = 1000;

std::string minutesText(int32_t ms) {
  if (ms < 0) ms = 0;
  char text[32];
  std::snprintf(text, sizeof(text), "%d:%.2d", ms / 60000, (ms / 1000) % 60);
  return text;
}

}  // namespace

TMainWnd::TMainWnd(CmdSwitches switches, ProgramDirs dirs)
    : ui::TSkinnedWnd(std::string()),
      switches_(std::move(switches)),
      dirs_(std::move(dirs)),
      lang_(dirs_.root + "\\lang") {
  useWindowClass(kMainWindowClass);
}

TMainWnd::~TMainWnd() {
  // A start that ended early (no skin) never ran the shutdown steps: the
  // instances started before it still end here.
  if (!closing_) {
    visPanel_.detach();
    if (pluginsStarted_) freePlugins();
    seq_.reset();
    for (Playlist pl : {current_, favorites_, recent_})
      if (pl) freePlaylist(pl);
  }
  // The labels are children: they go with the window, before the skins.
  destroy();
}

std::string TMainWnd::text(const char* localised) { return lang_.translate(localised ? localised : ""); }

// ---- Children ----

void TMainWnd::createChildren() {
  for (const char* name : kLabelNames) {
    auto label = std::make_unique<ui::TXLabel>();
    if (!label->createLabel(hwnd(), name)) continue;
    bindComponent(name, label->hwnd());
    label->OnClick = [this, index = static_cast<int>(labels_.size())](bool right) { onLabelClick(index, right); };
    // Control identifiers 1000 + index in the order of kLabelNames, for
    // whoever looks at the window from outside (accessibility, tests).
    SetWindowLongPtrA(label->hwnd(), GWLP_ID, kFirstLabelId + static_cast<LONG_PTR>(labels_.size()));
    labels_.push_back(std::move(label));
  }
  if (visPanel_.open(hwnd())) bindComponent("vis", visPanel_.hwnd());
  // A click opens the display menu; a double click starts the last plug-in again.
  visPanel_.onClick = [this](bool doubleClick) {
    if (!doubleClick) {
      showMenu("vismenu");
    } else if (std::optional<VisPluginChoice> last = lastVisPlugin(); last && commands_) {
      runCommand(*commands_, "_vis:" + last->name + "," + std::to_string(last->module), sourceProgram);
    }
  };
  // The position bar: the played part in the skin's colours; a click seeks.
  positionBar_ = &addElement<ui::TZSlider>(0, 0, 0);
  positionBar_->setShowThumb(false);
  positionBar_->setName("tb");
  positionBar_->onChange = [this](int value) {
    if (seq_) seq_->seek(value);
  };
  applySkinToChildren();
}

void TMainWnd::layout() {
  ui::TSkinnedWnd::layout();
  applySkinToChildren();
  applyTooltips();  // the skin's hints were made again
}

// Labels and the bar follow the skin of the state shown; a control the
// state does not show ("invis") hides its child.
void TMainWnd::applySkinToChildren() {
  const ui::TSkin* s = skin();
  if (!s) return;
  for (auto& label : labels_) {
    const ui::TSkinCtl* ctl = s->findControl(label->name());
    ShowWindow(label->hwnd(), ctl && ctl->attr("invis") != "1" ? SW_SHOWNA : SW_HIDE);
  }
  if (visPanel_.hwnd()) {
    const ui::TSkinCtl* vis = s->findControl("vis");
    const bool shown = vis && vis->attr("invis") != "1";
    ShowWindow(visPanel_.hwnd(), shown ? SW_SHOWNA : SW_HIDE);
    if (shown)
      visPanel_.attach(visInstance_, visData_, *s);
    else
      visPanel_.detach();
  }
  if (positionBar_) {
    const ui::TSkinCtl* tb = s->findControl("tb");
    const bool shown = tb && tb->attr("invis") != "1";
    positionBar_->setVisible(shown);
    if (shown) {
      positionBar_->setRect(controlRect(*tb));
      if (!tb->attr("color").empty())
        positionBar_->setTrackColors(ui::parseSkinColor(tb->attr("color")), ui::parseSkinColor(tb->attr("hicolor")),
                                     ui::parseSkinColor(tb->attr("bkcolor")));
    }
  }
  updatePlayButton();
}

// ---- State shown ----

std::string TMainWnd::lineCaption(int32_t index) const {
  if (!current_ || index < 0 || index >= plGetCount(current_)) return "";
  const char* desc = plGetDesc(current_, index);
  if (desc && *desc) return desc;
  std::string name = plGetName(current_, index);
  size_t slash = name.find_last_of("\\/");
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

void TMainWnd::updateLines() {
  if (labels_.size() < 5 || !seq_) return;
  std::string group = seq_->curGroupN() >= 0 ? lineCaption(seq_->curGroupN()) : "";
  if (group.empty() && seq_->curGroupN() >= 0) group = text("NewPl###<New playlist>");
  labels_[labelGroup]->setText(group);
  std::string file = seq_->curFileN() >= 0 ? lineCaption(seq_->curFileN()) : "";
  if (seq_->curFileN() >= 0 && display_.showTrackTime) {
    const PlaylistLine* rec = plGetRec(current_, seq_->curFileN());
    if (rec && rec->time > 0) file += " \2- " + minutesText(rec->time);
  }
  groupText_ = group, fileText_ = file;
  labels_[labelFile]->setText(fileLabelText(group, file, configBool("l2Group", ZV_FALSE) != 0));
  labels_[labelGroup]->setHint(labelTooltip(text("CurGroup###Current group"), group));
  labels_[labelFile]->setHint(labelTooltip(text("CurFile###Current file"), file));
  const PlaylistLine* root = plGetCount(current_) > 0 ? plGetRec(current_, 0) : nullptr;
  // "pltotal": the play time of the whole current playlist.
  labels_[labelPlaylistTotal]->setText(root && root->time > 0 ? formatTime(timeFormat("pltotal"), root->time) : programText(kNoTime));
  setStreamTitle(seq_->curFileN() >= 0 ? lineCaption(seq_->curFileN()) : "");
}

void TMainWnd::lineTextChanged(int32_t line) {
  if (seq_ && line >= 0 && (line == seq_->curGroupN() || line == seq_->curFileN())) updateLines();
}

void TMainWnd::updatePosition() {
  if (labels_.size() < 5 || !seq_) return;
  const ZvStatusRec* status = seq_->streamStatus();
  updateTimeLabels(status);
  if (positionBar_) {
    const int length = status && seq_->seekable() ? status->lengthMs : 0;
    if (length != positionRange_) positionBar_->setRange(0, positionRange_ = length);
    if (!seq_->seeking()) positionBar_->setValue(status ? status->positionMs : 0);
    positionBar_->setEnabled(length > 0);
  }
}

// The play button shows its "active" picture (a pause sign) while playing:
// every state's picture moves from the normal picture's corner to the
// active one's. Each skin remembers whether its pictures are moved.
void TMainWnd::updatePlayButton() {
  ui::TSkin* s = mutableSkin();
  if (!s) return;
  const bool playing = seq_ && seq_->playIntent() && seq_->stream() != 0;
  if (playing == (activePictures_.count(s) != 0)) return;
  for (ui::TSkinCtl& ctl : s->controls) {
    if (ctl.name() != "toggleplay" || ctl.attr("active").empty()) continue;
    const POINT at = ui::parseSkinPoint(ctl.attr("active"), POINT{ctl.pictures[0].source.left, ctl.pictures[0].source.top});
    int dx = at.x - ctl.pictures[0].source.left, dy = at.y - ctl.pictures[0].source.top;
    if (!playing) {  // back by the distance moved
      dx = -activePictures_[s].x, dy = -activePictures_[s].y;
    }
    for (auto& picture : ctl.pictures) OffsetRect(&picture.source, dx, dy);
    if (playing) activePictures_[s] = POINT{dx, dy};
    RECT r = controlRect(ctl);
    InvalidateRect(hwnd(), &r, FALSE);
  }
  if (playing)
    activePictures_.try_emplace(s, POINT{0, 0});
  else
    activePictures_.erase(s);
}

void TMainWnd::onTimer() {
  displayTick();
  updatePlayButton();
  for (int i : {labelGroup, labelFile})
    if (static_cast<size_t>(i) < labels_.size()) labels_[i]->step(1);
}

// ---- SequencerView ----

void TMainWnd::postSkip(bool backwards) { PostMessageA(hwnd(), kMsgSkipAfterFailedOpen, backwards ? 1 : 0, 0); }

void TMainWnd::currentLineChanged(int32_t, int32_t) {
  updateLines();
  if (infoWnd_ && seq_) infoWnd_->currentFileChanged(seq_->curFileName());
}

void TMainWnd::positionReset() {
  if (labels_.size() >= 5) labels_[labelPosition]->setText("");
  if (positionBar_) positionBar_->setValue(0);
}

void TMainWnd::streamOpened(ZvTarget stream, const ZvOpenedPrm& report) {
  if (samplerInstance_) pluginMsgX(samplerInstance_, (report.caps & capAnalog) && !configBool("noSampler", ZV_FALSE) ? msgSamplerStart : msgSamplerStop);
  if (report.caps & capVideo) {
    if (!video_) {
      video_ = std::make_unique<zvplayer::TVideoWnd>([this](const char* t) { return text(t); });
      if (!video_->create(dirs_.root, hwnd())) video_.reset();
    }
    if (video_) video_->showStream(stream, seq_->videoStatus(stream), report.width, report.height, seq_->curFileName());
  } else {
    hideVideo();
  }
  updateLines();
  updatePosition();
  if (eqTimer_ && seq_ && seq_->curFileN() >= 0)
    if (const char* name = plGetName(current_, seq_->curFileN())) eqTimer_->fileStarted(name);
  // While the window is out of sight the tray tells what begins ("tbHints").
  if (display_.tbHints && tray_.mainShown() && (minimized_ || !IsWindowVisible(hwnd())))
    tray_.balloon("Zorvak", title_.title());
}

void TMainWnd::hideVideo() {
  if (video_) video_->hideVideo();
}

void TMainWnd::openFailed() {
  if (samplerInstance_) pluginMsgX(samplerInstance_, msgSamplerStop);
}

void TMainWnd::streamFinished() {
  // The record the video window reads goes with its stream.
  if (video_ && video_->stream() && !seq_->videoStatus(video_->stream())) hideVideo();
  updatePlayButton();
  // Tag writes deferred while the file was in use can be done now.
  runDeferredTagWrites();
}

void TMainWnd::nothingPlayable() {
  if (labels_.size() >= 5) labels_[labelFile]->setText(text("NothingPlayable###Nothing in the playlist could be played"));
  updatePlayButton();
}

void TMainWnd::noPlayableFiles() {
  MessageBoxA(hwnd(), text("NoPlayableFiles###Items you selected contain no playable files").c_str(), "Zorvak",
              MB_ICONWARNING);
}

void TMainWnd::requestInfo(Playlist pl) {
  if (pl != current_) return;
  const ZvTarget me = reinterpret_cast<ZvTarget>(hwnd());
  cancelQueryInfo(kCurrentTag);
  const int32_t count = plGetCount(pl);
  for (int32_t i = 0; i < count; ++i) {
    const char* name = plGetName(pl, i);
    const char* desc = plGetDesc(pl, i);
    const PlaylistLine* rec = plGetRec(pl, i);
    if (name && *name && (!desc || !*desc || (rec && rec->time == 0 && !(rec->flags & lfGroup))))
      queryInfo(name, me, kCurrentTag, i);
  }
  finishQueryInfo(me, kCurrentTag);
}

void TMainWnd::saveCurrentPlaylist(Playlist pl) {
  if (pl == current_ && playlistLoad_.saveAllowed()) saveStoredPlaylist(pl, dirs_.userData + "\\playlist.dat");
}

void TMainWnd::reindexed() {
  storeDiscIds(presentDiscId, [](char letter, const std::string& id) {
    setConfigString((std::string("CDID_") + letter).c_str(), id.c_str());
  });
  updateLines();
  if (commands_ && commands_->hasEditors()) commands_->editors().mainListChanged();
}

// A description result: written into its line when the line still names
// that file; news about a file goes to every list that names it.
void TMainWnd::applyInfo(const ZvQueryResult& r) {
  if (!current_) return;
  const bool news = isFileNews(r);
  if (r.tag != kCurrentTag && !news) return;
  if (!r.path[0]) {  // the end marker: group times from the new file times
    plCalcTimes(current_);
    if (seq_) seq_->orders().markSortedStale();
    updateLines();
    return;
  }
  const std::vector<int32_t> lines = applyDescriptionAnswer(current_, r);
  if (news) {
    // The menus of favourites and recent places show descriptions too.
    applyDescriptionAnswer(favorites_, r);
    applyDescriptionAnswer(recent_, r);
    if (lines.empty()) return;
    if (seq_) seq_->orders().markSortedStale();
    if (commands_ && commands_->hasEditors()) commands_->editors().mainListChanged();
    updateLines();
    return;
  }
  if (!lines.empty() && seq_ && (r.line == seq_->curFileN() || r.line == seq_->curGroupN())) updateLines();
}

// ---- Messages ----

void TMainWnd::onEngineMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m{hwnd(), message, wParam, lParam, 0, {0, 0}};
  const ZvTarget from = static_cast<ZvTarget>(wParam);
  std::optional<char> arrived;
  if (seq_ && !closing_) {
    switch (message) {
      case msgOpenFailed:
        seq_->onOpenFailed(from);
        break;
      case msgOpened: {
        ZvOpenedPrm report{};
        getMsgPrm(&m, &report);
        seq_->onOpened(from, report);
        break;
      }
      case msgState: {
        ZvStatePrm state{};
        getMsgPrm(&m, &state);
        seq_->onState(from, state.state);
        updatePlayButton();
        break;
      }
      case msgEndReached:
        seq_->onEndReached(from);
        break;
      case msgClosed:
        seq_->onClosed(from);
        break;
      case msgInfoReady: {
        auto result = std::make_unique<ZvQueryResult>();
        getMsgPrm(&m, result.get());
        result->path[sizeof(result->path) - 1] = 0;
        result->description[sizeof(result->description) - 1] = 0;
        result->info[sizeof(result->info) - 1] = 0;
        applyInfo(*result);
        break;
      }
      case msgFileChanged: {
        ZvFileChangedPrm changed{};
        getMsgPrm(&m, &changed);
        changed.path[sizeof(changed.path) - 1] = 0;
        const std::string favoritesFile = dirs_.userData + "\\favorite.m3u";
        if (favorites_ && lstrcmpiA(changed.path, favoritesFile.c_str()) == 0)
          plLoad(favorites_, favoritesFile.c_str(), 0);
        break;
      }
      case msgMixerChange: {  // the volume or mute moved, here or in the system's mixer
        ZvMixerChangePrm change{};
        getMsgPrm(&m, &change);
        if (change.controlId == volumeControl_ || change.controlId == muteControl_) showVolume();
        break;
      }
      case msgDiscChange: {
        ZvDiscChange change{};
        getMsgPrm(&m, &change);
        if (!change.present) seq_->discRemoved(change.drive);
        else arrived = change.drive;
        break;
      }
      default:
        break;
    }
  }
  finishMsg(&m);
  // The question waits for the answer: asked after the message is finished.
  if (arrived) offerArrivedDisc(*this, *arrived);
}

// Hand-over: the sender is released before anything is done. What arrives
// while the start steps still run (a launcher started at the same time)
// waits until they are done, so the stored playlist cannot replace it.
void TMainWnd::onCopyData(LPARAM lParam) {
  std::optional<HandOver> h = receiveHandOver(lParam);
  if (!h || closing_) return;
  if (!started_) {
    pendingHandOvers_.push_back(std::move(*h));
    return;
  }
  actOnHandOver(*h);
}

void TMainWnd::actOnHandOver(const HandOver& h) {
  if (!seq_) return;
  const OpenMode mode = static_cast<OpenMode>(h.argument);
  switch (h.op) {
    case handOverBegin:
      seq_->beginOpen(mode);
      break;
    case handOverAdd:
      seq_->addItem(h.text, mode);
      break;
    case handOverEnd:
      seq_->endOpen(mode);
      break;
    case handOverCommand:
      if (commands_) runCommand(*commands_, h.text, h.argument);
      break;
  }
  updatePlayButton();
}

void TMainWnd::runAction(ui::TSkinCtl& ctl, int selector) {
  const std::string& action = selector == 1 && !ctl.action1.empty() ? ctl.action1 : ctl.action;
  if (commands_ && !runCommand(*commands_, action, sourceButton)) ui::TSkinnedWnd::runAction(ctl, selector);
  updatePlayButton();
}

LRESULT TMainWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= ZV_BUS_FIRST && message <= ZV_BUS_LAST) {
    onEngineMessage(message, wParam, lParam);
    return 0;
  }
  switch (message) {
    case kMsgTrayIcon:
      onTrayIcon(static_cast<UINT>(wParam), static_cast<UINT>(lParam));
      return 0;
    case WM_HOTKEY:
      onHotKey(static_cast<int>(wParam));
      return 0;
    case WM_MEASUREITEM:
      if (wParam == 0 && OwnerDrawnMenu::current() &&
          OwnerDrawnMenu::current()->measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
        return TRUE;
      break;
    case WM_DRAWITEM:
      if (wParam == 0 && OwnerDrawnMenu::current() &&
          OwnerDrawnMenu::current()->draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)))
        return TRUE;
      break;
    case WM_ENTERIDLE:
      if (wParam == MSGF_MENU && OwnerDrawnMenu::current())
        OwnerDrawnMenu::current()->menuWindowShown(reinterpret_cast<HWND>(lParam));
      break;
    case MM_MIXM_CONTROL_CHANGE:  // the mixer moved the volume or mute
      showVolume();
      return 0;
    case WM_APPCOMMAND:
      if (onAppCommand(lParam)) return TRUE;
      break;
    case WM_SYSCOMMAND:
      if (onSysCommand(wParam)) return 0;
      break;
    case WM_POWERBROADCAST:
      onPowerBroadcast(wParam);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kDescEditorId && lParam) {
        onDescEditor(HIWORD(wParam));
        return 0;
      }
      if (HIWORD(wParam) == THBN_CLICKED) {
        onThumbButton(LOWORD(wParam));
        return 0;
      }
      break;
    case WM_SIZE:
      // Restored from the taskbar after a usual minimize.
      if (wParam == SIZE_RESTORED && minimized_) restoreWindow();
      break;
    case kMsgSkipAfterFailedOpen:
      if (seq_ && !closing_) seq_->onSkip(wParam != 0);
      return 0;
    case WM_COPYDATA:
      onCopyData(lParam);
      return TRUE;
    case WM_TIMER:
      if (wParam == timerLabels) onTimer();
      if (wParam == timerCrossfade && seq_ && !closing_) seq_->onCrossfadeTimer();
      if (wParam == EqTimerSide::kPollTimer && eqTimer_ && !closing_) eqTimer_->poll();
      return 0;
    case WM_KEYDOWN:
      if (onKeyDown(wParam)) return 0;
      break;
    case WM_CONTEXTMENU:
      showMenu("sysmenu");
      return 0;
    case WM_CLOSE:
      onClose();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(exitCode_);
      break;
    default:
      if (message == TaskbarButtons::createdMessage() && message != 0) {
        taskbar_.attach(hwnd());
        return 0;
      }
      break;
  }
  return ui::TSkinnedWnd::handle(message, wParam, lParam);
}

// ---- Skins ----

// A skin put aside keeps its controls' states: the button under the mouse
// (the rollup button itself) would still be lit when the skin comes back.
void TMainWnd::clearControlStates() {
  if (const ui::TSkin* s = skin())
    for (size_t i = 0; i < s->controls.size(); ++i) {
      setControlHilite(static_cast<int>(i), false);
      setControlDown(static_cast<int>(i), false);
    }
}

void TMainWnd::switchState() {
  clearControlStates();
  storeStatePosition();
  mini_ = !mini_;
  const ui::TSkin* next = mini_ ? skins_.mini.get() : skins_.full.get();
  if (!next) next = skins_.full.get(), mini_ = false;
  setSkin(next);
  setConfigInt("winstate", mini_ ? 1 : 0);
  // Each state has its own place, "Topmost_" and "minMode_".
  moveToStatePosition();
  applyMinMode();
}

bool TMainWnd::changeSkin(const std::string& name) {
  ui::MainSkinResult loaded = ui::loadMainSkins(dirs_.root, name, ui::MainSkinPurpose::change);
  if (!loaded.ok()) {
    MessageBoxA(hwnd(), ui::skinLoadFailedText(), ui::skinLoadFailedCaption(loaded.error), MB_ICONERROR);
    return false;
  }
  for (const std::string& line : ui::skinProblemLines(loaded.skins)) writeDiagnosticLine(line);
  clearControlStates();
  oldSkins_.push_back(std::move(skins_));
  skins_ = std::move(loaded.skins);
  if (!skins_.mini) mini_ = false;
  setSkin(mini_ ? skins_.mini.get() : skins_.full.get());
  setConfigString("skin", skins_.name.c_str());
  return true;
}

}  // namespace zv
