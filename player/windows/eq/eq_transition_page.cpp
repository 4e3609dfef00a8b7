// The equalizer window's transition page: cross-fade and its length, the
// fade mode, and skipping the start and end of files. Every control writes
// its configuration key at once; the playback sequencing reads them.
#include <cstdio>
#include <cstdlib>

#include "eq_window.h"
#include "zv_config.h"

namespace zv::eq {
namespace {

constexpr int kPageLeft = 116;
const char* const kFadeModes[4] = {"FadeLinear###Linear", "FadeExp###Exponential",
                                   "FadeLinearNoIn###Linear, without fadein",
                                   "FadeExpNoIn###Exponential, without fadein"};

std::string windowText(HWND w) {
  char text[32] = {};
  GetWindowTextA(w, text, sizeof(text));
  return text;
}

int32_t fieldValue(HWND w) { return std::atoi(windowText(w).c_str()); }

}  // namespace

void TEqWnd::buildTransitionPage() {
  const Page P = Page::transition;
  crossfade_ = &add<ui::TZCheck>(P, text("Crossfading###Crossfading: "));
  crossfade_->setName("crossfade");
  crossfade_->setRect(at(kPageLeft, 16, 130, 22));
  crossfade_->onChange = [this](bool) { storeTransition(); };
  auto& duration = add<ReleaseSlider>(P, 500, 10000, 3000, false);
  duration.setName("cfduration");
  duration.setStep(100);
  duration.setRect(at(kPageLeft + 140, 16, 200, 22));
  duration.onChange = [this](int ms) {
    char label[64];
    std::snprintf(label, sizeof(label), "%0.2f %s", ms / 1000.0, text("Seconds###seconds").c_str());
    cfLabel_->setText(label);
  };
  duration.onRelease = [this] { storeTransition(); };
  cfDuration_ = &duration;
  cfLabel_ = &add<ui::TZText>(P, "", DT_LEFT | DT_SINGLELINE);
  cfLabel_->setRect(at(kPageLeft + 350, 18, 100, 18));

  auto& fadeLabel = add<ui::TZText>(P, text("FadeMode###Fade mode:"), DT_LEFT | DT_SINGLELINE);
  fadeLabel.setRect(at(kPageLeft, 58, 130, 18));
  fadeMode_ = &add<ui::TZButton>(P, "");
  fadeMode_->setName("fademode");
  fadeMode_->setRect(at(kPageLeft + 140, 54, 240, 26));
  fadeMode_->onClick = [this] {
    UniqueMenu menu(CreatePopupMenu());
    const int32_t current = configInt("fademode", 0);
    for (int m = 0; m < 4; ++m)
      AppendMenuA(menu.get(), MF_STRING | (m == current ? MF_CHECKED : 0), m + 1, text(kFadeModes[m]).c_str());
    POINT p{fadeMode_->rect().left, fadeMode_->rect().bottom};
    ClientToScreen(hwnd(), &p);
    const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY, p.x, p.y, 0, hwnd(), nullptr);
    if (chosen > 0) {
      setConfigInt("fademode", chosen - 1);
      refreshTransition();
      if (onTransitionChanged) onTransitionChanged();
    }
  };

  struct SkipRow {
    ui::TZCheck** check;
    UniqueWindow* field;
    const char* name;
    const char* caption;
    int y;
  } rows[] = {{&skipStart_, &skipStartL_, "skipStart", "SkipStart###Skip starting:", 104},
              {&skipEnd_, &skipEndL_, "skipEnd", "SkipEnd###Skip ending:", 138}};
  for (const SkipRow& row : rows) {
    auto& check = add<ui::TZCheck>(P, text(row.caption));
    check.setName(row.name);
    check.setRect(at(kPageLeft, row.y, 130, 22));
    check.onChange = [this](bool) { storeSkipKeys(); };
    *row.check = &check;
    const RECT r = at(kPageLeft + 140, row.y, 70, 22);
    row.field->reset(CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_TABSTOP | ES_NUMBER | ES_RIGHT, r.left, r.top,
                                     r.right - r.left, r.bottom - r.top, hwnd(), nullptr, thisModule(), nullptr));
    SendMessageA(row.field->get(), WM_SETFONT, reinterpret_cast<WPARAM>(ui::controlFont()), TRUE);
    SendMessageA(row.field->get(), EM_LIMITTEXT, 7, 0);
    addTabStop(row.field->get());
    pageWindows_[static_cast<int>(P)].push_back(row.field->get());
    auto& unit = add<ui::TZText>(P, text("Ms###ms"), DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    unit.setRect(at(kPageLeft + 216, row.y, 40, 22));
  }
  // Stored with the other skip keys but not shown.
  skipStartS_ = &add<ui::TZCheck>(P, text("CutStartSilence###Cut start silence"));
  skipStartS_->setName("hidden:skipStartS");
  skipEndS_ = &add<ui::TZCheck>(P, text("CutEndSilence###Cut end silence"));
  skipEndS_->setName("hidden:skipEndS");
  silenceLevel_ = &add<ui::TZSlider>(P, -100, -10, -80, false);
  silenceLevel_->setName("hidden:silenceLevel");
}

void TEqWnd::refreshTransition() {
  loadingTransition_ = true;
  crossfade_->setChecked(configBool("crossfade", ZV_FALSE) != 0);
  const int32_t duration = configInt("cfduration", 3000);
  cfDuration_->setValue(duration);
  cfDuration_->onChange(cfDuration_->value());
  const int32_t mode = configInt("fademode", 0);
  fadeMode_->setCaption(text(kFadeModes[mode >= 0 && mode < 4 ? mode : 0]) + "  \xbb");
  skipStart_->setChecked(configBool("skipStart", ZV_FALSE) != 0);
  skipEnd_->setChecked(configBool("skipEnd", ZV_FALSE) != 0);
  SetWindowTextA(skipStartL_.get(), std::to_string(configInt("skipStartL", 0)).c_str());
  SetWindowTextA(skipEndL_.get(), std::to_string(configInt("skipEndL", 0)).c_str());
  skipStartS_->setChecked(configBool("skipStartS", ZV_FALSE) != 0);
  skipEndS_->setChecked(configBool("skipEndS", ZV_FALSE) != 0);
  silenceLevel_->setValue(configInt("silenceLevel", -80));
  loadingTransition_ = false;
}

void TEqWnd::storeTransition() {
  setConfigBool("crossfade", crossfade_->checked() ? ZV_TRUE : ZV_FALSE);
  setConfigInt("cfduration", cfDuration_->value());
  if (onTransitionChanged) onTransitionChanged();
}

void TEqWnd::storeSkipKeys() {
  if (loadingTransition_) return;
  setConfigBool("skipStart", skipStart_->checked() ? ZV_TRUE : ZV_FALSE);
  setConfigInt("skipStartL", fieldValue(skipStartL_.get()));
  setConfigBool("skipEnd", skipEnd_->checked() ? ZV_TRUE : ZV_FALSE);
  setConfigInt("skipEndL", fieldValue(skipEndL_.get()));
  setConfigBool("skipStartS", skipStartS_->checked() ? ZV_TRUE : ZV_FALSE);
  setConfigBool("skipEndS", skipEndS_->checked() ? ZV_TRUE : ZV_FALSE);
  setConfigInt("silenceLevel", silenceLevel_->value());
  if (onTransitionChanged) onTransitionChanged();
}

}  // namespace zv::eq
