// One line for whoever watches the program: the debugger (OutputDebugString)
// and the console it was started from (stderr). Used for what the program
// goes on after: an exception a window let escape, a skin's refused parts.
#pragma once
#include <string>

namespace zv {

void writeDiagnosticLine(const std::string& text);

}  // namespace zv
