#include "playback/output_link.h"

namespace zv {

void shutDownOutput() {
  // ZV-MERGE: outFree() once the output library lands.
}

}  // namespace zv
