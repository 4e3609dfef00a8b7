// The engine's own language state (its file is "engine.dat" once the player
// sets the language).
#pragma once
#include <string>
#include <string_view>

namespace zv {

bool startLanguage();
void stopLanguage(bool processExit);

// The text to show for a localised string "key###default". Any thread.
std::string translate(std::string_view text);

}  // namespace zv
