// The main window's key table: 28 keys and the commands they run, shared by
// the keyboard handler (source 1) and the system-wide hot keys (identifiers
// 0 to 27), plus the keyboards' media keys. Plain data and look-ups, no
// window.
#pragma once
#include <windows.h>

#include <optional>
#include <span>

namespace zv {

struct KeyBinding {
  UINT vk;
  const char* command;
};

// The 28 entries; an entry's index is its hot-key identifier.
std::span<const KeyBinding> keyTable();
constexpr int kKeyTableSize = 28;

// The media keys (play/pause, next, previous, stop) as hot keys without a
// modifier, identifiers 28 and on. Volume keys stay with the system, which
// already moves the same master volume with them.
std::span<const KeyBinding> mediaHotKeys();
constexpr int kFirstMediaHotKey = kKeyTableSize;

// The command of a key of the table, or null when the key is not in it or
// its command is not one of the command set (Num/ names "mixer").
const char* commandForKey(UINT vk);
// The command of a hot-key identifier (table or media key), or null.
const char* commandForHotKey(int id);
// The command of a WM_APPCOMMAND code (media and volume keys while the
// window has the focus), or null.
const char* commandForAppCommand(int appCommand);

// The hot-key modifiers of "hotkeyMod": 0 Win, 1 Ctrl+Alt, 2 Ctrl+Shift,
// 3 Alt+Shift, 4 Ctrl+Alt+Shift. Any other value gives nothing: only a
// damaged setting holds one, and plain arrows, Home or Insert taken from
// every program would break typing system-wide.
std::optional<UINT> hotKeyModifiers(int hotkeyMod);

// What a key pressed in the main window does.
enum class KeyAction { none, minimize, debugConsole, command };
struct KeyDecision {
  KeyAction action = KeyAction::none;
  const char* command = nullptr;
};
KeyDecision decideKey(UINT vk, bool ctrl);

}  // namespace zv
