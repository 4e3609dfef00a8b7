#include "metadata/fast_desc.h"

#include "foundation/diagnostics.h"
#include "zv_desc.h"

ZVEXPORT ZvBool ZVAPI fastDesc(const char* path, char* out) {
  return zv::guarded("fastDesc", ZV_TRUE, [&] {
    if (out) zv::copyBounded(out, 256, path ? zv::fastDescText(path) : std::string());
    return ZV_TRUE;
  });
}
