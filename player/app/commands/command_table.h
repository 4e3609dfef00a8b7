// The command set: parsing a command text into a resolved command and running
// it on a target. Names compare case-sensitively; a text that matches nothing
// is ignored.
#pragma once
#include <optional>
#include <span>

#include "commands/command_target.h"
#include "zv_playback.h"

namespace zv {

// Every command, exact names before prefixes.
std::span<const CommandEntry> commandTable();

std::optional<ResolvedCommand> resolveCommand(const std::string& text, int32_t source);
// Resolves and runs; false when nothing matched.
bool runCommand(CommandTarget& target, const std::string& text, int32_t source);

// ---- Values the handlers compute ----

// OpenMode of an open command ("open:" 0, "repl:" 8, "enq:" 1, "enqstart:" 3).
OpenMode openModeOf(const ResolvedCommand& command);
// "group_dirs" 0, "group_none" 1, "group_id3" 2, "group_sorted" 3.
int32_t groupModeOf(const ResolvedCommand& command);
// "volup"/"voldown": the first value moved by 2048 within 0..65535.
int32_t steppedVolume(int32_t volume, bool up);
// "rewind:"/"forward:": slider position moved by the seconds, within 0..range.
// Nothing (nullopt) for a malformed number.
std::optional<int32_t> relativeSeekTarget(const ResolvedCommand& command, int32_t position, int32_t range);
// "vis:" name "," number; nullopt without the comma or the number.
struct VisRequest {
  std::string name;
  int32_t number = 0;
};
std::optional<VisRequest> parseVisArgument(const std::string& argument);

}  // namespace zv
