#include "display/command_hints.h"

#include <cstring>

#include "display/label_texts.h"

namespace zv {
namespace {

struct Hint {
  const char* command;
  const char* text;
};
// The tray buttons' hints (the same keys) and those of the skins' buttons.
constexpr Hint kHints[] = {
    {"toggleplay", "HintPlayStop###Play/stop"},
    {"fadetoggleplay", "HintFadePlayStop###Play/stop with fading"},
    {"play", "HintPlay###Play"},
    {"stop", "HintStop###Stop"},
    {"prev", "HintPrevFile###Previous file"},
    {"next", "HintNextFile###Next file"},
    {"prevpl", "HintPrevGroup###Previous group"},
    {"nextpl", "HintNextGroup###Next group"},
    {"rewind:10", "HintRewind###Rewind"},
    {"forward:10", "HintForward###Forward"},
    {"openmenu", "HintOpenMenu###Open"},
    {"openfile", "HintOpenFile###Open file"},
    {"opendir", "HintOpenDir###Open directory"},
    {"favmenu", "HintFavMenu###Favorites"},
    {"addfav_file", "HintAddFav###Add to favorites"},
    {"plmenu", "HintPlMenu###Playlists"},
    {"editcpl", "HintEditCpl###Edit current playlist"},
    {"seqmenu", "HintSeqMenu###Sequence"},
    {"shuffle", "HintShuffle###Shuffle"},
    {"toolsmenu", "HintToolsMenu###Tools"},
    {"setup", "HintSetup###Settings"},
    {"eq", "HintEq###Equalizer/Mixer"},
    {"info", "HintInfo###File information"},
    {"minimize", "HintMinimize###Minimize"},
    {"hideall", "HintHideAll###Hide all windows"},
    {"close", "HintClose###Close"},
    {"sysmenu", "HintSysMenu###System menu"},
    {"rollup", "HintRollup###Full/mini window"},
    {"l1menu", "HintGroupList###Groups"},
    {"l2menu", "HintFileList###Files of the group"},
};

std::string hintOf(const std::string& command, const HintTranslateFn& translate) {
  const char* localised = commandHint(command);
  if (!localised) return {};
  if (translate) return translate(localised);
  const char* text = std::strstr(localised, "###");
  return text ? text + 3 : localised;
}

}  // namespace

const char* commandHint(const std::string& command) {
  for (const Hint& h : kHints)
    if (command == h.command) return h.text;
  return nullptr;
}

std::string skinButtonTooltip(const std::string& action, const std::string& shiftAction, const std::string& skinHint,
                              const HintTranslateFn& translate) {
  std::string hint = hintOf(action, translate);
  if (hint.empty()) hint = skinHint;
  if (hint.empty()) return {};
  const bool shiftDiffers = !shiftAction.empty() && shiftAction != action;
  const std::string shiftHint = shiftDiffers ? hintOf(shiftAction, translate) : std::string();
  return buttonTooltip(hint, shiftHint, shiftDiffers && !shiftHint.empty());
}

}  // namespace zv
