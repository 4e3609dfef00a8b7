#include "commands/command_table.h"

#include <charconv>
#include <cstring>

#include "commands/command_trace.h"

namespace zv {
namespace {

using T = CommandTarget;
using M = CommandMatch;

// Exact names first: "play2" must not be taken for "play" with an argument,
// nor "openfile" for an open command.
const CommandEntry kCommands[] = {
    {"show", M::exact, &T::show},
    {"hideall", M::exact, &T::hideAll},
    {"l1menu", M::exact, &T::listMenu},
    {"l2menu", M::exact, &T::listMenu},
    {"favmenu", M::exact, &T::listMenu},
    {"toolsmenu", M::exact, &T::popupMenu},
    {"plmenu", M::exact, &T::popupMenu},
    {"openmenu", M::exact, &T::popupMenu},
    {"seqmenu", M::exact, &T::popupMenu},
    {"sysmenu", M::exact, &T::popupMenu},
    {"prev", M::exact, &T::prevFile},
    {"next", M::exact, &T::nextFile},
    {"prevpl", M::exact, &T::prevGroup},
    {"nextpl", M::exact, &T::nextGroup},
    {"play", M::exact, &T::play},
    {"play2", M::exact, &T::play2},
    {"stop", M::exact, &T::stop},
    {"stop2", M::exact, &T::stop2},
    {"fadeplay", M::exact, &T::fadePlay},
    {"fadestop", M::exact, &T::fadeStop},
    {"toggleplay", M::exact, &T::togglePlay},
    {"fadetoggleplay", M::exact, &T::fadeTogglePlay},
    {"rollup", M::exact, &T::rollUp},
    {"minimize", M::exact, &T::minimize},
    {"close", M::exact, &T::close},
    {"info", M::exact, &T::toolWindow},
    {"eq", M::exact, &T::toolWindow},
    {"timer", M::exact, &T::toolWindow},
    {"setup", M::exact, &T::toolWindow},
    {"cddb", M::exact, &T::toolWindow},
    {"debug", M::exact, &T::toolWindow},
    {"about", M::exact, &T::toolWindow},
    {"newpl", M::exact, &T::newPlaylistEditor},
    {"editpl", M::exact, &T::editPlaylist},
    {"editcpl", M::exact, &T::editCurrentPlaylist},
    {"editdir", M::exact, &T::editDirectory},
    {"openfile", M::exact, &T::openFile},
    {"opendir", M::exact, &T::openDir},
    {"na", M::exact, &T::notAvailable},
    {"group_dirs", M::exact, &T::groupMode},
    {"group_none", M::exact, &T::groupMode},
    {"group_id3", M::exact, &T::groupMode},
    {"group_sorted", M::exact, &T::groupMode},
    {"voldown", M::exact, &T::volume},
    {"volup", M::exact, &T::volume},
    {"hidecon", M::exact, &T::hideConsole},
    {"ontop", M::exact, &T::onTop},
    {"help", M::exact, &T::help},
    {"readme", M::exact, &T::document},
    {"history", M::exact, &T::document},
    {"website", M::exact, &T::document},
    {"mailto", M::exact, &T::document},
    {"addfav_dir", M::exact, &T::addFavoriteDir},
    {"addfav_file", M::exact, &T::addFavoriteFile},
    {"_scope", M::exact, &T::display},
    {"_spec", M::exact, &T::display},
    {"_off", M::exact, &T::display},
    {"_scopefade1", M::exact, &T::display},
    {"_scopefade2", M::exact, &T::display},
    {"_scopefade3", M::exact, &T::display},
    {"_rx", M::exact, &T::display},
    {"_ry", M::exact, &T::display},
    {"_specfall1", M::exact, &T::display},
    {"_specfall2", M::exact, &T::display},
    {"_specfall3", M::exact, &T::display},
    {"_peaks0", M::exact, &T::display},
    {"_peaks1", M::exact, &T::display},
    {"_peaks2", M::exact, &T::display},
    {"_peaks3", M::exact, &T::display},
    {"_halfrate", M::exact, &T::display},
    {"open:", M::prefix, &T::openItem},
    {"open2:", M::prefix, &T::openItem},
    {"open3:", M::prefix, &T::openItem},
    {"repl:", M::prefix, &T::openItem},
    {"enq:", M::prefix, &T::openItem},
    {"enqstart:", M::prefix, &T::openItem},
    {"edit:", M::prefix, &T::editItem},
    {"delfav:", M::prefix, &T::deleteFavorite},
    {"rewind:", M::prefix, &T::rewind},
    {"forward:", M::prefix, &T::forward},
    {"vis:", M::prefix, &T::vis},
    {"_vis:", M::prefix, &T::display},
    {"_cfg:", M::prefix, &T::display},
    {"skin:", M::prefix, &T::skin},
    {"loop1", M::toggle, &T::switchSetting},
    {"loop2", M::toggle, &T::switchSetting},
    {"shuffle", M::toggle, &T::switchSetting},
};

bool isName(const ResolvedCommand& c, const char* name) { return std::strcmp(c.name(), name) == 0; }

std::optional<int32_t> parseInt(const std::string& text) {
  int32_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

}  // namespace

std::span<const CommandEntry> commandTable() { return kCommands; }

std::optional<ResolvedCommand> resolveCommand(const std::string& text, int32_t source) {
  for (const CommandEntry& e : kCommands) {
    size_t n = std::strlen(e.name);
    bool hit = e.match == M::exact ? text == e.name : text.compare(0, n, e.name) == 0;
    if (hit) return ResolvedCommand{&e, e.match == M::exact ? std::string() : text.substr(n), source};
  }
  return std::nullopt;
}

bool runCommand(CommandTarget& target, const std::string& text, int32_t source) {
  std::optional<ResolvedCommand> c = resolveCommand(text, source);
  if (!c) return false;
  traceCommand(text, source);
  (target.*(c->entry->handler))(*c);
  return true;
}

SwitchChange switchChange(const std::string& suffix) {
  if (suffix.empty()) return SwitchChange::toggle;
  if (suffix == ":on") return SwitchChange::on;
  if (suffix == ":off") return SwitchChange::off;
  return SwitchChange::keep;
}

bool applySwitch(bool current, SwitchChange change) {
  switch (change) {
    case SwitchChange::toggle: return !current;
    case SwitchChange::on: return true;
    case SwitchChange::off: return false;
    case SwitchChange::keep: break;
  }
  return current;
}

OpenMode openModeOf(const ResolvedCommand& c) {
  if (isName(c, "repl:")) return ZV_OPEN_REPLACE;
  if (isName(c, "enq:")) return ZV_OPEN_ADD;
  if (isName(c, "enqstart:")) return ZV_OPEN_ADD | ZV_OPEN_PLAY;
  return ZV_OPEN_NEW_PLAYLIST;
}

int32_t groupModeOf(const ResolvedCommand& c) {
  if (isName(c, "group_none")) return 1;
  if (isName(c, "group_id3")) return 2;
  if (isName(c, "group_sorted")) return 3;
  return 0;
}

int32_t steppedVolume(int32_t volume, bool up) {
  int32_t v = volume + (up ? 2048 : -2048);
  return v < 0 ? 0 : v > 65535 ? 65535 : v;
}

std::optional<int32_t> relativeSeekTarget(const ResolvedCommand& c, int32_t position, int32_t range) {
  std::optional<int32_t> seconds = parseInt(c.argument);
  if (!seconds || *seconds < 0 || *seconds > 24 * 3600) return std::nullopt;
  int64_t delta = int64_t{*seconds} * 1000 * (isName(c, "rewind:") ? -1 : 1);
  int64_t target = int64_t{position} + delta;
  return static_cast<int32_t>(target < 0 ? 0 : target > range ? range : target);
}

std::optional<VisRequest> parseVisArgument(const std::string& argument) {
  size_t comma = argument.rfind(',');
  if (comma == std::string::npos || comma == 0) return std::nullopt;
  std::optional<int32_t> number = parseInt(argument.substr(comma + 1));
  if (!number) return std::nullopt;
  return VisRequest{argument.substr(0, comma), *number};
}

}  // namespace zv
