// The hints of the commands that skin buttons run, as texts of the language
// file ("key###default"), and a skin button's tooltip made from them: the
// hint of its command, and when the button runs another command with Shift
// held (its "action1"), that one's hint after "[+Shift] ".
#pragma once
#include <functional>
#include <string>

namespace zv {

// "HintPlayStop###Play/stop" for "toggleplay"; nullptr for a command
// without a hint of its own.
const char* commandHint(const std::string& command);

using HintTranslateFn = std::function<std::string(const char* localised)>;

// The tooltip of a button that runs `action` (and `shiftAction` with Shift;
// empty when none). A command without a hint of its own takes the skin's
// `skinHint`; a Shift command without one adds nothing.
std::string skinButtonTooltip(const std::string& action, const std::string& shiftAction, const std::string& skinHint,
                              const HintTranslateFn& translate);

}  // namespace zv
