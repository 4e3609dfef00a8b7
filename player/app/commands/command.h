// A command text resolved against the command set: which command, its
// argument (the rest of the text after the name of a prefix command) and the
// source that ran it.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace zv {

// Where a command came from.
enum CommandSource : int32_t { sourceProgram = 0, sourceKeyboard = 1, sourceButton = 2 };

// How a name matches a command text.
enum class CommandMatch {
  exact,   // the whole text
  prefix,  // the text begins with the name ("open:", "rewind:"); the rest is the argument
  toggle   // "loop1" alone, or followed by a suffix (":on", ":off", anything else)
};

struct CommandTarget;
struct ResolvedCommand;
using CommandHandler = void (CommandTarget::*)(const ResolvedCommand&);

struct CommandEntry {
  const char* name;
  CommandMatch match;
  CommandHandler handler;
};

struct ResolvedCommand {
  const CommandEntry* entry = nullptr;
  std::string argument;
  int32_t source = sourceProgram;
  const char* name() const { return entry ? entry->name : ""; }
};

// What a switch command's suffix asks for.
enum class SwitchChange { toggle, on, off, keep };
SwitchChange switchChange(const std::string& suffix);
// The new value of a switch; `keep` leaves it (the setting is still stored).
bool applySwitch(bool current, SwitchChange change);

}  // namespace zv
