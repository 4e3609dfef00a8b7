// The equalizer window: the frame, the tab strip, the equalizer page and
// the preset menus. The mixer and transition pages are eq_mixer_page.cpp
// and eq_transition_page.cpp.
#include "eq_window.h"

#include <cstdio>

#include "eq_scale.h"
#include "field_colors.h"
#include "prompt_window.h"
#include "menus/menu_model.h"
#include "menus/win_menu.h"
#include "skin_paint.h"
#include "zv_mixer.h"
#include "zv_plugins.h"
#include "help_request.h"

namespace zv::eq {
namespace {

constexpr int kClientWidth = 572, kClientHeight = 300;
constexpr int kTabWidth = 100;
constexpr int kPageLeft = kTabWidth + 16;
// The equalizer page's columns: the preamp, a gap, the 12 bands.
constexpr int kColumn = 32, kBandsLeft = kPageLeft + kColumn + 14;
constexpr int kSliderTop = 62, kSliderHeight = 150;
constexpr uint32_t kMsgMixerChange = 7025;

const char* const kTabCaptions[3] = {"Equalizer|page1", "Mixer|page2", "Transition|page3"};

// Between two colours: `percentB` of b.
COLORREF blend(COLORREF a, COLORREF b, int percentB) {
  const auto mix = [&](int x, int y) { return static_cast<BYTE>((x * (100 - percentB) + y * percentB) / 100); };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

std::string lastComponent(const std::string& folder) {
  const size_t at = folder.find_last_of('\\');
  return at == std::string::npos ? folder : folder.substr(at + 1);
}

}  // namespace

TEqWnd::TEqWnd(EqModel& model, Translate translate, std::function<std::string()> playingFile)
    : ui::TFrameWnd("eq", ui::FrameKind::fixed),
      model_(model),
      translate_(std::move(translate)),
      playingFile_(std::move(playingFile)) {}

TEqWnd::~TEqWnd() {
  model_.onChange = nullptr;
  fr_.reset();
  destroy();
}

std::string TEqWnd::text(const char* localised) const {
  return translate_ ? translate_(localised) : defaultText(localised);
}

RECT TEqWnd::at(int x, int y, int w, int h) const {
  const RECT c = clientRect();
  return {c.left + x, c.top + y, c.left + x + w, c.top + y + h};
}

bool TEqWnd::open(const std::string& root, HWND owner) {
  root_ = root;
  if (!createFrame(root, text("EqCaption###Equalizer").c_str(), {kClientWidth, kClientHeight}, owner, false))
    return false;
  buildTabs();
  buildEqualizerPage();
  buildMixerPage();
  buildTransitionPage();
  model_.onChange = [this] {
    refreshEqualizer();
    refreshSource();
    if (TFrWnd* fr = responseWindow()) fr->refresh();
  };
  refreshEqualizer();
  refreshSource();
  refreshMixer();
  refreshTransition();
  addBroadcastFilter(reinterpret_cast<ZvTarget>(hwnd()), kMsgMixerChange);
  showPage(Page::equalizer);
  ShowWindow(hwnd(), SW_SHOW);
  return true;
}

// ---- Tabs ----

void TEqWnd::buildTabs() {
  for (int i = 0; i < 3; ++i) {
    // "Caption|name": the caption is localised under the tab's name.
    const std::string def = kTabCaptions[i];
    const std::string name = def.substr(def.find('|') + 1), caption = def.substr(0, def.find('|'));
    auto& tab = addElement<ui::TZButton>(text((name + "###" + caption).c_str()));
    tab.setName(name);
    tab.setRect(at(8, 10 + i * 34, kTabWidth - 16, 28));
    tab.onClick = [this, i] { showPage(static_cast<Page>(i)); };
    tabs_[i] = &tab;
  }
}

void TEqWnd::showPage(Page page) {
  page_ = page;
  for (int p = 0; p < 3; ++p) {
    const bool shown = p == static_cast<int>(page);
    for (ui::UiElement* e : pages_[p]) e->setVisible(shown && e->name().rfind("hidden:", 0) != 0);
    for (HWND w : pageWindows_[p]) ShowWindow(w, shown ? SW_SHOWNA : SW_HIDE);
  }
  InvalidateRect(hwnd(), nullptr, FALSE);
}

// The tab strip's panel and the marker of the page shown.
void TEqWnd::paintOver(HDC dc, int, int) {
  const RECT c = clientRect();
  const ui::ControlArt& art = ui::controlArt();
  RECT strip{c.left, c.top, c.left + kTabWidth, c.bottom};
  RECT line{strip.right, c.top + 8, strip.right + 1, c.bottom - 8};
  ui::fillSolid(dc, line, blend(art.face, RGB(255, 255, 255), 25));
  if (tabs_[static_cast<int>(page_)]) {
    RECT t = tabs_[static_cast<int>(page_)]->rect();
    RECT marker{strip.right - 5, t.top + 3, strip.right - 2, t.bottom - 3};
    ui::fillSolid(dc, marker, art.accent);
  }
}

// ---- Equalizer page ----

void TEqWnd::buildEqualizerPage() {
  const Page P = Page::equalizer;
  onOff_ = &add<ui::TZCheck>(P, text("EqOn###Equalizer on"));
  onOff_->setName("eqon");
  onOff_->setRect(at(kPageLeft, 12, 124, 22));
  onOff_->onChange = [this](bool on) { model_.setEnabled(on); };
  struct MenuButton {
    const char* caption;
    const char* menu;
    int width;
  } buttons[] = {{"EqLoad###Load", "load", 74}, {"EqSaveAs###Save as", "save", 84}, {"EqExtra###Extra", "extra", 70}};
  int x = kPageLeft + 130;
  for (const auto& b : buttons) {
    auto& button = add<ui::TZButton>(P, text(b.caption) + " \xbb");
    button.setName(b.menu);
    button.setRect(at(x, 10, b.width, 26));
    button.onClick = [this, &button, name = std::string(b.menu)] { showMenu(name, button); };
    x += b.width + 6;
  }
  saveButton_ = &add<ui::TZButton>(P, text("EqSave###Save"));
  saveButton_->setName("save_current");
  saveButton_->setRect(at(x, 10, kClientWidth - 12 - x, 26));
  saveButton_->onClick = [this] {
    switch (model_.source()) {
      case EqSource::file: runCommand("save_preset:" + model_.sourceName()); break;
      case EqSource::autoLoad: runCommand("save_autoload:" + model_.sourceName()); break;
      case EqSource::flat: runCommand("save_other"); break;
    }
  };
  for (int s = 0; s <= kBands; ++s) {
    const int slider = s - 1;  // -1: the preamp
    const int left = s == 0 ? kPageLeft : kBandsLeft + (s - 1) * kColumn;
    auto& label = add<ClickText>(P, "+0", DT_CENTER | DT_SINGLELINE);
    label.setName(s == 0 ? "dbpre" : "db" + std::to_string(slider));
    label.setRect(at(left - 4, kSliderTop - 20, kColumn + 8, 16));
    label.setHint(text("EqResetHint###Click to reset"));
    label.onClick = [this, slider] { model_.setGain(slider, 1.0f); };
    dbLabels_[s] = &label;
    auto& bar = add<ReleaseSlider>(P, sliderMin(slider), sliderMax(slider), 0, true);
    bar.setName(s == 0 ? "preamp" : "band" + std::to_string(slider));
    bar.setRect(at(left + (kColumn - 22) / 2, kSliderTop, 22, kSliderHeight));
    bar.setStep(10);
    bar.onChange = [this, s](int value) { dbLabels_[s]->setText(labelOfGain(gainOfPosition(value))); };
    bar.onRelease = [this, slider, &bar] { model_.setGain(slider, gainOfPosition(bar.value())); };
    sliders_[s] = &bar;
    auto& caption = add<ui::TZText>(P, s == 0 ? text("EqPreamp###Preamp") : std::string(kBandLabels[slider]),
                                    DT_CENTER | DT_SINGLELINE);
    caption.setRect(at(left - 8, kSliderTop + kSliderHeight + 4, kColumn + 16, 16));
    if (s == 0) continue;
    auto& check = add<ui::TZCheck>(P, "", true);
    check.setName("on" + std::to_string(slider));
    check.setRect(at(left + (kColumn - 16) / 2, kSliderTop + kSliderHeight + 24, 16, 16));
    check.setHint(text("EqBandHint###Band on/off"));
    check.onChange = [this, slider](bool on) { model_.setBandOn(slider, on); };
    bandChecks_[slider] = &check;
  }
  autoText_ = &add<ui::TZText>(P, text("EqAutoMode###Auto-load"), DT_LEFT | DT_SINGLELINE);
  autoText_->setName("autoload");
  autoText_->setRect(at(kPageLeft, kClientHeight - 36, 80, 18));
  sourceText_ = &add<ui::TZText>(P, "", DT_LEFT | DT_SINGLELINE | DT_PATH_ELLIPSIS);
  sourceText_->setName("eqfile");
  sourceText_->setRect(at(kPageLeft + 86, kClientHeight - 36, kClientWidth - kPageLeft - 100, 18));
}

void TEqWnd::refreshEqualizer() {
  const ZvEqualizer& b = model_.block();
  onOff_->setChecked(b.enabled != 0);
  for (int s = 0; s <= kBands; ++s) {
    const float gain = s == 0 ? b.preamp : b.gains[s - 1];
    sliders_[s]->setValue(positionOfGain(gain));
    dbLabels_[s]->setText(labelOfGain(gain));
  }
  for (int band = 0; band < kBands; ++band) bandChecks_[band]->setChecked(b.bandOff[band] == 0);
}

void TEqWnd::refreshSource() {
  // A flat curve never chosen by name still says what it is.
  const bool unnamedFlat = model_.source() == EqSource::flat && model_.sourceName().empty();
  sourceText_->setText(unnamedFlat ? text("EqFlatName###Flat") : model_.sourceName());
  saveButton_->setEnabled(model_.changed());
  autoText_->setEnabled(model_.autoMode());
  autoText_->setColor(model_.autoMode() ? ui::controlArt().accent : blend(ui::controlArt().face, RGB(255, 255, 255), 30));
}

// ---- Menus and commands ----

std::string TEqWnd::menuDefinition(const std::string& name) const {
  std::string def;
  const auto presets = [&](const char* command) {
    for (const std::string& p : model_.presetNames()) def += p + "|" + command + p + "\n";
  };
  const auto folders = [&](const char* command, bool withRecord) {
    const std::string playing = playingFile_ ? playingFile_() : "";
    for (const std::string& f : model_.autoLoadFolders(playing, withRecord))
      def += lastComponent(f) + "|" + command + ":" + f + "\n";
  };
  if (name == "load") {
    def = "EqAutoLoad###Auto-load|\\load_autoload\n";
    presets("load_preset:");
    def += "EqFlat###Flat|load_flat\n";
  } else if (name == "save") {
    def = "EqAutoLoad###Auto-load|\\save_autoload\n";
    presets("save_preset:");
    def += "EqSaveOther###New preset...|save_other\n";
  } else if (name == "extra") {
    def = "EqDel###Delete preset|\\del\nEqDelAutoLoad###Delete auto-load|\\del_autoload\n\nEqAdvanced###Advanced...|fr\n";
  } else if (name == "del") {
    presets("del:");
  } else if (name == "load_autoload" || name == "del_autoload") {
    folders(name.c_str(), true);
  } else if (name == "save_autoload") {
    folders("save_autoload", false);
  }
  if (def.empty()) def = "NoPresets###<No presets>|na\n";
  return def;
}

void TEqWnd::showMenu(const std::string& name, ui::UiElement& under) {
  const std::vector<MenuItem> items = buildMenu(
      menuDefinition(name), [this](const std::string& sub) { return std::optional<std::string>(menuDefinition(sub)); },
      [](const std::string&) { return std::string(); });
  PopupMenu menu = buildPopupMenu(items, [this](const std::string& s) { return text(s.c_str()); });
  POINT p{under.rect().left, under.rect().bottom};
  ClientToScreen(hwnd(), &p);
  const unsigned id = static_cast<unsigned>(
      TrackPopupMenu(menu.menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN, p.x, p.y, 0, hwnd(), nullptr));
  const std::string command = menu.commandOf(id);
  if (!command.empty()) runCommand(command);
}

void TEqWnd::runCommand(const std::string& command) {
  if (command == "na" || command.empty()) return;
  if (command == "fr") {
    if (responseWindow()) {
      SetForegroundWindow(fr_->hwnd());
      return;
    }
    fr_ = std::make_unique<TFrWnd>(model_, translate_);
    if (!fr_->open(root_, hwnd())) fr_.reset();
    return;
  }
  if (command == "save_other") {
    const std::string proposed = model_.source() == EqSource::file ? model_.sourceName() : "";
    std::optional<std::string> typed;
    if (askPresetName) {
      typed = askPresetName(proposed);
    } else {
      ui::TPromptWnd prompt;
      typed = prompt.ask(root_, hwnd(), text("SavePreset###Save preset"), text("PresetName###Preset name:"), proposed,
                         text("OK###OK"), text("Cancel###Cancel"));
    }
    if (typed) model_.saveOther(*typed);
    return;
  }
  model_.command(command);
}

// ---- Messages ----

LRESULT TEqWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (zv::answerHelpKey(hwnd(), message, "eq.html")) return TRUE;
  if (message >= ZV_BUS_FIRST && message <= ZV_BUS_LAST) {
    MSG m{hwnd(), message, wParam, lParam, 0, {0, 0}};
    if (message == kMsgMixerChange) {
      ZvMixerChangePrm change{};
      getMsgPrm(&m, &change);
      onMixerChange(change.controlId, change.volume, change.mute != 0);
    }
    finishMsg(&m);
    return 0;
  }
  switch (message) {
    case WM_COMMAND:
      if (HIWORD(wParam) == EN_CHANGE && !loadingTransition_) storeSkipKeys();
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(ui::fieldColors(reinterpret_cast<HDC>(wParam), message == WM_CTLCOLOREDIT));
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        PostMessageA(hwnd(), WM_CLOSE, 0, 0);
        return 0;
      }
      if (wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
        const int step = GetKeyState(VK_SHIFT) < 0 ? 2 : 1;
        showPage(static_cast<Page>((static_cast<int>(page_) + step) % 3));
        return 0;
      }
      break;
    case WM_CLOSE:
      storePosition();
      destroy();
      return 0;
    case WM_DESTROY:
      delBroadcastFilter(reinterpret_cast<ZvTarget>(hwnd()), kMsgMixerChange);
      model_.onChange = nullptr;
      if (onDestroyed) onDestroyed();
      break;
    default:
      break;
  }
  return ui::TFrameWnd::handle(message, wParam, lParam);
}

}  // namespace zv::eq
