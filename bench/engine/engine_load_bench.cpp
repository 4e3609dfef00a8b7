// Cost of loading and unloading the engine: the whole unit sequence runs
// each time, because this program does not import the engine itself.
#include <windows.h>

#include "benchkit.h"
#include "win32/owners.h"

int main() {
  double perCycle = zvbench::secondsPerItem([](int64_t n) {
    for (int64_t i = 0; i < n; ++i) {
      zv::UniqueModule engine(LoadLibraryA("zvengine.dll"));
      if (!engine) return;
    }
  });
  zvbench::report("zvengine.dll load + unload", perCycle * 1e3, "ms");
  return 0;
}
