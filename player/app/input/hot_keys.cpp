#include "input/hot_keys.h"

#include "input/key_table.h"

namespace zv {

HotKeys::Api HotKeys::systemApi() {
  return {[](HWND w, int id, UINT modifiers, UINT vk) { return RegisterHotKey(w, id, modifiers, vk) != 0; },
          [](HWND w, int id) { UnregisterHotKey(w, id); }};
}

void HotKeys::unregisterAll() {
  if (!window_) return;
  const int count = kFirstMediaHotKey + static_cast<int>(mediaHotKeys().size());
  for (int id = 0; id < count; ++id) api_.unregisterKey(window_, id);
  registered_.clear();
}

void HotKeys::apply(HWND window, int hotkeyMod) {
  unregisterAll();
  window_ = window;
  if (!window) return;
  if (std::optional<UINT> modifiers = hotKeyModifiers(hotkeyMod)) {
    const auto table = keyTable();
    for (int id = 0; id < kKeyTableSize; ++id)
      if (commandForHotKey(id) && api_.registerKey(window, id, *modifiers, table[id].vk)) registered_.push_back(id);
  }
  const auto media = mediaHotKeys();
  for (size_t i = 0; i < media.size(); ++i) {
    const int id = kFirstMediaHotKey + static_cast<int>(i);
    if (api_.registerKey(window, id, 0, media[i].vk)) registered_.push_back(id);
  }
}

}  // namespace zv
