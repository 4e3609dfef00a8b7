#include "setup/adv_setup_window.h"

#include <cstdio>

#include "help_request.h"

namespace zv {

namespace {

const struct {
  const char* key;
  const char* caption;
} kPriorityRows[] = {
    {"decoder_priority", "Decoder priority:"},
    {"vis_priority", "Visualizer priority:"},
    {"winampvis_priority", "Winamp visualizer priority:"},
    {"sampler_priority", "Sampler priority:"},
    {"waveOutPriority", "Wave out priority:"},
};

}  // namespace

TAdvSetupWnd::TAdvSetupWnd(std::string root, std::string langDir, std::string language)
    : TFrameWnd("AdvSetupWnd", ui::FrameKind::dialog), root_(std::move(root)), langDir_(std::move(langDir)),
      language_(std::move(language)), pages_(*this) {}

bool TAdvSetupWnd::open(HWND owner) {
  texts_ = std::make_unique<setupui::WindowTexts>(langDir_, language_, "AdvSetupWnd");
  if (!createFrame(root_, texts_->caption("AdvSetupWnd", "Advanced settings").c_str(), {360, 300}, owner)) return false;
  const RECT c = clientRect();
  const AdvSetupValues v = readAdvSetupValues();
  const std::vector<std::string> priorities = {"Normal", "Above normal", "Highest", "Time critical"};
  const int32_t stored[] = {v.decoderPriority, v.visPriority, v.winampVisPriority, v.samplerPriority,
                            v.waveOutPriority};
  int y = c.top + 14;
  const int labelRight = c.left + 190;
  for (size_t i = 0; i < std::size(kPriorityRows); ++i, y += 30) {
    const std::string key = kPriorityRows[i].key;
    pages_.element<ui::TZText>({c.left + 14, y + 3, labelRight, y + 21}, texts_->caption("l" + key, kPriorityRows[i].caption));
    HWND box = pages_.combo({labelRight + 6, y, c.right - 14, y + 22}, texts_->items(key, priorities));
    setupui::selectComboEntry(box, priorityEntry(stored[i]));
    combos_[kPriorityRows[i].key] = box;
  }
  pages_.element<ui::TZText>({c.left + 14, y + 3, labelRight, y + 21}, texts_->caption("lVisFrames", "Vis sampling interval:"));
  HWND frames = pages_.combo({labelRight + 6, y, c.right - 14, y + 22}, {"512", "1024", "2048"});
  setupui::selectComboEntry(frames, visFramesEntry(v.visFrames));
  combos_["visFrames"] = frames;
  y += 36;
  checks_["noSampler"] = &pages_.element<ui::TZCheck>({c.left + 14, y, c.right - 14, y + 20}, texts_->caption("noSampler", "Do not use sampler"), v.noSampler);
  y += 26;
  checks_["PreferFP"] =
      &pages_.element<ui::TZCheck>({c.left + 14, y, c.right - 14, y + 20}, texts_->caption("PreferFP", "Use floating-point when possible"), v.preferFP);
  for (auto& [key, box] : checks_) box->setName(key);
  auto& ok = pages_.element<ui::TZButton>({c.right - 188, c.bottom - 34, c.right - 104, c.bottom - 10}, texts_->caption("ok", "OK"));
  ok.setName("ok");
  ok.onClick = [this] { confirm(); };
  auto& cancel = pages_.element<ui::TZButton>({c.right - 96, c.bottom - 34, c.right - 12, c.bottom - 10}, texts_->caption("cancel", "Cancel"));
  cancel.setName("cancel");
  cancel.onClick = [this] { PostMessageA(hwnd(), WM_CLOSE, 0, 0); };
  setFocusElement(&ok);
  return true;
}

HWND TAdvSetupWnd::combo(const std::string& key) const {
  auto it = combos_.find(key);
  return it == combos_.end() ? nullptr : it->second;
}

ui::TZCheck* TAdvSetupWnd::check(const std::string& key) const {
  auto it = checks_.find(key);
  return it == checks_.end() ? nullptr : it->second;
}

void TAdvSetupWnd::confirm() {
  auto priority = [&](const char* key) {
    const int entry = setupui::comboSelection(combo(key));
    return kPriorityChoices[entry >= 0 && entry < 4 ? entry : 0];
  };
  AdvSetupValues v;
  v.decoderPriority = priority("decoder_priority");
  v.visPriority = priority("vis_priority");
  v.winampVisPriority = priority("winampvis_priority");
  v.samplerPriority = priority("sampler_priority");
  v.waveOutPriority = priority("waveOutPriority");
  const int frames = setupui::comboSelection(combo("visFrames"));
  v.visFrames = kVisFrameChoices[frames >= 0 && frames < 3 ? frames : 1];
  v.noSampler = checks_["noSampler"]->checked();
  v.preferFP = checks_["PreferFP"]->checked();
  applyAdvSetupValues(v);
  PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

LRESULT TAdvSetupWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (zv::answerHelpKey(hwnd(), message, "advsetup.html")) return TRUE;
  if (message == WM_DESTROY) closed_ = true;
  if (message == WM_NCDESTROY) pages_.windowDestroyed();
  return TFrameWnd::handle(message, wParam, lParam);
}

}  // namespace zv
