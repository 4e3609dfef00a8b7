// A record of the commands run, for whoever looks into what the player did:
// with the environment variable ZORVAK_COMMAND_TRACE naming a file, every
// command run is appended to it as one line "<source> <text>". Without the
// variable nothing is written (the look-up is made once).
#pragma once
#include <cstdint>
#include <string>

namespace zv {

void traceCommand(const std::string& text, int32_t source);

}  // namespace zv
