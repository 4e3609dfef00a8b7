#include "input/key_table.h"

#include <string>

#include "commands/command_table.h"

namespace zv {
namespace {

// Left column of the table first (identifiers 0 to 13), then the right one.
constexpr KeyBinding kKeys[kKeyTableSize] = {
    {VK_NUMPAD1, "prevpl"},   {VK_NUMPAD2, "voldown"},  {VK_NUMPAD3, "nextpl"},     {VK_NUMPAD4, "prev"},
    {VK_NUMPAD5, "toggleplay"}, {VK_NUMPAD6, "next"},   {VK_NUMPAD7, "rewind:10"},  {VK_NUMPAD8, "volup"},
    {VK_NUMPAD9, "forward:10"}, {VK_NUMPAD0, "openfile"}, {VK_DECIMAL, "l2menu"},   {VK_SUBTRACT, "l1menu"},
    {'3', "info"},            {VK_RETURN, "show"},      {VK_HOME, "prevpl"},        {VK_DOWN, "voldown"},
    {VK_PRIOR, "nextpl"},     {VK_LEFT, "prev"},        {VK_RIGHT, "next"},         {VK_END, "rewind:10"},
    {VK_NEXT, "forward:10"},  {VK_UP, "volup"},         {VK_INSERT, "openfile"},    {VK_DELETE, "l2menu"},
    {VK_ADD, "openmenu"},     {VK_MULTIPLY, "favmenu"}, {'H', "hideall"},           {VK_DIVIDE, "mixer"},
};

constexpr KeyBinding kMedia[] = {
    {VK_MEDIA_PLAY_PAUSE, "toggleplay"},
    {VK_MEDIA_NEXT_TRACK, "next"},
    {VK_MEDIA_PREV_TRACK, "prev"},
    {VK_MEDIA_STOP, "stop"},
};

const char* known(const char* command) { return resolveCommand(command, 0) ? command : nullptr; }

}  // namespace

std::span<const KeyBinding> keyTable() { return kKeys; }
std::span<const KeyBinding> mediaHotKeys() { return kMedia; }

const char* commandForKey(UINT vk) {
  for (const KeyBinding& k : kKeys)
    if (k.vk == vk) return known(k.command);
  return nullptr;
}

const char* commandForHotKey(int id) {
  if (id >= 0 && id < kKeyTableSize) return known(kKeys[id].command);
  const int media = id - kFirstMediaHotKey;
  if (media >= 0 && media < static_cast<int>(std::size(kMedia))) return kMedia[media].command;
  return nullptr;
}

const char* commandForAppCommand(int appCommand) {
  switch (appCommand) {
    case APPCOMMAND_MEDIA_PLAY_PAUSE: return "toggleplay";
    case APPCOMMAND_MEDIA_PLAY: return "play";
    case APPCOMMAND_MEDIA_PAUSE: return "stop";
    case APPCOMMAND_MEDIA_STOP: return "stop";
    case APPCOMMAND_MEDIA_NEXTTRACK: return "next";
    case APPCOMMAND_MEDIA_PREVIOUSTRACK: return "prev";
    case APPCOMMAND_VOLUME_UP: return "volup";
    case APPCOMMAND_VOLUME_DOWN: return "voldown";
    default: return nullptr;
  }
}

std::optional<UINT> hotKeyModifiers(int hotkeyMod) {
  switch (hotkeyMod) {
    case 0: return MOD_WIN;
    case 1: return MOD_CONTROL | MOD_ALT;
    case 2: return MOD_CONTROL | MOD_SHIFT;
    case 3: return MOD_ALT | MOD_SHIFT;
    case 4: return MOD_CONTROL | MOD_ALT | MOD_SHIFT;
    default: return std::nullopt;
  }
}

KeyDecision decideKey(UINT vk, bool ctrl) {
  if (vk == VK_ESCAPE) return {KeyAction::minimize, nullptr};
  if (vk == 'C' && ctrl) return {KeyAction::debugConsole, nullptr};
  if (const char* command = commandForKey(vk)) return {KeyAction::command, command};
  return {};
}

}  // namespace zv
