#include "playback/host/output_link.h"

#include "zvdsp.h"

namespace zv {

void shutDownOutput() { outFree(); }

}  // namespace zv
