// The equalizer window's mixer page: the seven mixer entries as knobs and
// sliders (0..65535), the mute boxes (checked = sound on), msgMixerChange
// from the engine, and the wave output device.
#include <windows.h>
#include <mmsystem.h>

#include "eq_window.h"
#include "zv_config.h"
#include "zv_mixer.h"
#include "zvdsp.h"

namespace zv::eq {
namespace {

constexpr int kPageLeft = 116;
const char* const kEntryCaptions[kMixerEntries] = {"MixVolume###Volume", "MixWave###Wave", "MixMidi###MIDI",
                                                    "MixCd###CD",         "MixLine###Line", "MixBass###Bass",
                                                    "MixTreble###Treble"};

template <class T>
T* as(ui::UiElement* e) {
  return dynamic_cast<T*>(e);
}

}  // namespace

void TEqWnd::buildMixerPage() {
  const Page P = Page::mixer;
  // Columns: the master knob, the four sliders, bass and treble.
  const int columns[kMixerEntries] = {0, 80, 136, 192, 248, 318, 384};
  for (int i = 0; i < kMixerEntries; ++i) {
    const int left = kPageLeft + columns[i];
    auto& caption = add<ui::TZText>(P, text(kEntryCaptions[i]), DT_CENTER | DT_SINGLELINE);
    caption.setRect(at(left - 6, 12, 64, 16));
    const bool knob = i == 0 || i >= 5;
    ui::UiElement* control;
    if (knob) {
      auto& k = add<ui::TZKnob>(P, 0, 65535, 0);
      k.setRect(at(left + 4, 34, 44, 44));
      k.onChange = [this, i](int value) {
        settingMixer_ = true;
        setVolume(mixer_.volume[i], value, 0);
        settingMixer_ = false;
      };
      control = &k;
    } else {
      auto& s = add<ui::TZSlider>(P, 0, 65535, 0, true);
      s.setStep(65535 / 50);
      s.setRect(at(left + 15, 34, 22, 150));
      s.onChange = [this, i](int value) {
        settingMixer_ = true;
        setVolume(mixer_.volume[i], value, 0);
        settingMixer_ = false;
      };
      control = &s;
    }
    control->setName("vol" + std::to_string(i));
    volumes_[i] = control;
    if (i < 5) {
      auto& mute = add<ui::TZCheck>(P, "", true);
      mute.setName("mute" + std::to_string(i));
      mute.setHint(text("MixOnHint###Sound on"));
      mute.setRect(at(left + 18, knob ? 86 : 192, 16, 16));
      mute.onChange = [this, i](bool on) {
        settingMixer_ = true;
        setMute(mixer_.mute[i], on ? ZV_FALSE : ZV_TRUE);
        settingMixer_ = false;
      };
      mutes_[i] = &mute;
    }
  }
  auto& label = add<ui::TZText>(P, text("WaveDevice###Wave output device:"), DT_LEFT | DT_SINGLELINE);
  label.setRect(at(kPageLeft, 232, 150, 18));
  deviceButton_ = &add<ui::TZButton>(P, "");
  deviceButton_->setName("device");
  deviceButton_->setRect(at(kPageLeft + 156, 228, 280, 26));
  deviceButton_->onClick = [this] {
    UniqueMenu menu(CreatePopupMenu());
    ZvOutParams params{};
    outGetParams(&params);
    for (size_t n = 0; n < devices_.size(); ++n)
      AppendMenuA(menu.get(), MF_STRING | (static_cast<int>(n) == params.device + 1 ? MF_CHECKED : 0), n + 1,
                  devices_[n].c_str());
    POINT p{deviceButton_->rect().left, deviceButton_->rect().bottom};
    ClientToScreen(hwnd(), &p);
    const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY, p.x, p.y, 0, hwnd(), nullptr);
    if (chosen > 0) chooseDevice(chosen - 1);
  };
  devices_.push_back(text("DefDevice###<Default device>"));
  const UINT count = waveOutGetNumDevs();
  for (UINT d = 0; d < count; ++d) {
    WAVEOUTCAPSA caps{};
    devices_.push_back(waveOutGetDevCapsA(d, &caps, sizeof(caps)) == MMSYSERR_NOERROR ? caps.szPname
                                                                                       : "#" + std::to_string(d));
  }
  // The player opened the mixer at start-up; its entries are looked up
  // again here (the same ids while the device stays).
  mixer_ = lookUpMixerIds();
}

void TEqWnd::refreshMixer() {
  settingMixer_ = true;
  for (int i = 0; i < kMixerEntries; ++i) {
    int32_t volume = 0, balance = 0;
    const bool present = mixer_.volume[i] != -1;
    if (present) getVolume(mixer_.volume[i], &volume, &balance);
    if (auto* k = as<ui::TZKnob>(volumes_[i])) k->setValue(volume);
    if (auto* s = as<ui::TZSlider>(volumes_[i])) s->setValue(volume);
    volumes_[i]->setEnabled(present);
    if (i < 5) {
      const bool mutePresent = mixer_.mute[i] != -1;
      mutes_[i]->setChecked(mutePresent ? getMute(mixer_.mute[i]) == 0 : false);
      mutes_[i]->setEnabled(mutePresent);
    }
  }
  ZvOutParams params{};
  outGetParams(&params);
  const size_t selected = static_cast<size_t>(params.device + 1);
  deviceButton_->setCaption((selected < devices_.size() ? devices_[selected] : devices_[0]) + "  \xbb");
  settingMixer_ = false;
}

// A change made elsewhere (the system's volume control, the main window's
// volume keys). The window's own changes are not taken back.
void TEqWnd::onMixerChange(int32_t controlId, int32_t volume, bool muted) {
  if (settingMixer_ || controlId == -1) return;
  for (int i = 0; i < kMixerEntries; ++i) {
    if (mixer_.volume[i] == controlId) {
      if (auto* k = as<ui::TZKnob>(volumes_[i])) k->setValue(volume);
      if (auto* s = as<ui::TZSlider>(volumes_[i])) s->setValue(volume);
    }
    if (i < 5 && mixer_.mute[i] == controlId) mutes_[i]->setChecked(!muted);
  }
}

int TEqWnd::mixerValue(int entry) const {
  if (entry < 0 || entry >= kMixerEntries) return -1;
  if (auto* k = as<ui::TZKnob>(volumes_[entry])) return k->value();
  if (auto* s = as<ui::TZSlider>(volumes_[entry])) return s->value();
  return -1;
}

bool TEqWnd::muteBox(int entry) const { return entry >= 0 && entry < 5 && mutes_[entry]->checked(); }

void TEqWnd::chooseDevice(int entry) {
  if (entry < 0 || static_cast<size_t>(entry) >= devices_.size()) return;
  ZvOutParams params{};
  outGetParams(&params);
  params.device = entry - 1;
  outSetParams(&params);
  outGetParams(&params);
  setConfigRec("outParams", &params, sizeof(params));
  mixer_ = reopenMixer();
  if (onMixerReopened) onMixerReopened(mixer_);
  refreshMixer();
}

}  // namespace zv::eq
