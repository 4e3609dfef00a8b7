// The system-wide hot keys of the main window: the key table with the
// modifier of "hotkeyMod" (identifiers 0 to 27) and the media keys without
// one. Every registration first unregisters everything this set may hold,
// so a changed modifier never leaves the old combinations taken.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

namespace zv {

class HotKeys {
 public:
  // The system calls; tests replace them to see what is asked.
  struct Api {
    std::function<bool(HWND, int id, UINT modifiers, UINT vk)> registerKey;
    std::function<void(HWND, int id)> unregisterKey;
  };
  static Api systemApi();

  explicit HotKeys(Api api = systemApi()) : api_(std::move(api)) {}
  ~HotKeys() { unregisterAll(); }
  HotKeys(const HotKeys&) = delete;
  HotKeys& operator=(const HotKeys&) = delete;

  // Unregisters all, then registers the table with the modifier of
  // `hotkeyMod` (nothing of the table for a value outside 0..4; entries
  // whose command does not exist are never taken) and the media keys.
  void apply(HWND window, int hotkeyMod);
  void unregisterAll();
  // Identifiers registered by the last apply.
  const std::vector<int>& registered() const { return registered_; }

 private:
  Api api_;
  HWND window_ = nullptr;
  std::vector<int> registered_;
};

}  // namespace zv
