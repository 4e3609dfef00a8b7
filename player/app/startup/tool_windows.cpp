#include "startup/tool_windows.h"

#include <algorithm>

namespace zv {
namespace {

// The order of the start-up's reopening.
const char* const kReopenOrder[] = {"open_eq", "open_ds", "open_info", "open_setup", "open_cddb", "open_timer"};

size_t reopenRank(const std::string& key) {
  const auto* at = std::find(std::begin(kReopenOrder), std::end(kReopenOrder), key);
  return static_cast<size_t>(at - std::begin(kReopenOrder));
}

}  // namespace

bool ToolWindowRegistry::add(ToolWindow window) {
  if (window.command.empty() || !window.open || find(window.command)) return false;
  windows_.push_back(std::move(window));
  return true;
}

const ToolWindow* ToolWindowRegistry::find(const std::string& command) const {
  for (const ToolWindow& w : windows_)
    if (w.command == command) return &w;
  return nullptr;
}

std::vector<const ToolWindow*> ToolWindowRegistry::toReopen(
    const std::function<bool(const std::string&)>& flagSet) const {
  std::vector<const ToolWindow*> flagged;
  for (const ToolWindow& w : windows_)
    if (!w.flagKey.empty() && flagSet(w.flagKey)) flagged.push_back(&w);
  // Stable: windows outside the fixed order keep their registration order.
  std::stable_sort(flagged.begin(), flagged.end(), [](const ToolWindow* a, const ToolWindow* b) {
    return reopenRank(a->flagKey) < reopenRank(b->flagKey);
  });
  return flagged;
}

std::map<std::string, bool> ToolWindowRegistry::closeAll() const {
  std::map<std::string, bool> flags;
  for (auto w = windows_.rbegin(); w != windows_.rend(); ++w) {
    if (!w->flagKey.empty()) flags[w->flagKey] = w->isOpen && w->isOpen();
    if (w->close) w->close();
  }
  return flags;
}

ToolWindowRegistry& toolWindows() {
  static ToolWindowRegistry registry;
  return registry;
}

}  // namespace zv
