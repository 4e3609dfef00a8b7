// The main window's start sequence (29 steps) and shutdown (10 steps) as
// ordered tables of named steps. The window gives each step its body; the
// runner calls them in the tables' order, so the order lives in one place:
// the configuration mode before the plug-ins, the plug-ins before any
// playlist, the skin before the playlists; at shutdown the playlists saved
// first and the plug-ins freed last.
#pragma once
#include <functional>
#include <map>
#include <span>
#include <vector>

namespace zv {

enum class StartStep {
  seedAndHooks = 1, configMode, positionAndImages, priority, plugins, streamReset, outputSettings, playIntent,
  settings, exePath, skin, createPlaylists, broadcastFilters, mainThread, mixer, timer, tray, showWindow,
  loadingCaption, loadPlaylist, cdCheck, commandLine, reindex, resumeLine, favorites, recent, helpAndEditors,
  reopenWindows, about
};

enum class ShutdownStep {
  trayIcons = 1, savePlaylist, mixerAndTimer, windowPosition, saveEditors, freeWindows, windowFlags,
  freePlaylists, freePlugins, pendingTags
};

template <class Step>
struct StepInfo {
  Step step;
  const char* name;
  const char* engineCalls;  // the engine calls the step makes, in order ("" for none)
};

std::span<const StepInfo<StartStep>> startSteps();
std::span<const StepInfo<ShutdownStep>> shutdownSteps();

// Runs the bodies in table order. A body returns false to end the sequence
// there (the skin that cannot be loaded ends the program).
template <class Step>
class StepRunner {
 public:
  void on(Step step, std::function<bool()> body) { bodies_[step] = std::move(body); }
  // The steps that have no body yet (they are passed over).
  std::vector<Step> missing(std::span<const StepInfo<Step>> table) const {
    std::vector<Step> out;
    for (const auto& s : table)
      if (!bodies_.count(s.step)) out.push_back(s.step);
    return out;
  }
  // True when every step ran; false when one ended the sequence.
  bool run(std::span<const StepInfo<Step>> table) const {
    for (const auto& s : table) {
      auto it = bodies_.find(s.step);
      if (it != bodies_.end() && !it->second()) return false;
    }
    return true;
  }

 private:
  std::map<Step, std::function<bool()>> bodies_;
};

}  // namespace zv
