// Disc decisions: whether an inserted disc is offered to the auto-play
// window, and the start-up check that drops the lines of discs that changed
// while the player was not running.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "zv_playlist.h"

namespace zv {

// `driveRoot` is the drive's root folder ("D:\"). True when its "autorun.inf"
// has "AutoOpen" set (non-empty and not "0") in section "Zorvak", or else when
// one of the "|"-separated names of `cdAutoOpen` exists in the root.
bool offerDiscForAutoplay(const std::string& driveRoot, const std::string& cdAutoOpen);

// The start-up disc check. `discId(letter)` gives nullopt for a drive that is
// no CD drive, "" for an empty CD drive, else the disc's identity;
// `storedId(letter)` the identity stored under "CDID_" + letter. For a drive
// whose disc is gone or differs, the first line on that drive is deleted and
// the check starts over, until a full pass deletes nothing. Returns the
// number of lines deleted.
int32_t dropChangedDiscLines(Playlist pl, const std::function<std::optional<std::string>(char)>& discId,
                             const std::function<std::string(char)>& storedId);

// The save step's record of the discs present, against which the next start
// checks: `store(letter, id)` for every CD drive ("" when it is empty).
void storeDiscIds(const std::function<std::optional<std::string>(char)>& discId,
                  const std::function<void(char, const std::string&)>& store);

// The system's answer for `letter`: nullopt for a drive that is no CD drive,
// else getCDId's identity ("" without a disc).
std::optional<std::string> presentDiscId(char letter);

}  // namespace zv
