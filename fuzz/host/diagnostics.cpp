// Diagnostics go nowhere on the fuzzing host: a damaged input is expected.
#include "foundation/diagnostics.h"

namespace zv {
void debugWriteLine(const char*) {}
void debugWriteLinef(const char*, ...) {}
void writeExceptionDiagnostic(const char*, const char*, const char*) {}
}  // namespace zv
