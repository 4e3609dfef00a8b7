// The command trace writes a file only when asked to by the environment;
// the sanitized units never ask.
#include "commands/command_trace.h"

namespace zv {
void traceCommand(const std::string&, int32_t) {}
}  // namespace zv
