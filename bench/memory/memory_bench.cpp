// Small-block allocate/free pairs per second: the engine's pool path against
// HeapAlloc/HeapFree and malloc/free, in one process, one and two threads.
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "benchkit.h"
#include "zv_memory.h"

namespace {

using PairFn = std::function<void(int64_t n, int seed)>;

// Sizes cycle through 16..104 bytes; four blocks are held at a time so the
// allocator sees a little more than a single hot slot.
void engineLoop(int64_t n, int seed) {
  void* held[4] = {};
  for (int64_t i = 0; i < n; ++i) {
    int k = static_cast<int>(i & 3);
    _mfree(held[k]);
    held[k] = mallocex(16 + static_cast<int32_t>((i * 7 + seed) % 89), "bench");
  }
  for (void* b : held) _mfree(b);
}

void heapLoop(int64_t n, int seed) {
  HANDLE heap = GetProcessHeap();
  void* held[4] = {};
  for (int64_t i = 0; i < n; ++i) {
    int k = static_cast<int>(i & 3);
    if (held[k]) HeapFree(heap, 0, held[k]);
    held[k] = HeapAlloc(heap, HEAP_ZERO_MEMORY, 16 + static_cast<SIZE_T>((i * 7 + seed) % 89));
  }
  for (void* b : held)
    if (b) HeapFree(heap, 0, b);
}

void mallocLoop(int64_t n, int seed) {
  void* held[4] = {};
  for (int64_t i = 0; i < n; ++i) {
    int k = static_cast<int>(i & 3);
    std::free(held[k]);
    held[k] = std::calloc(1, 16 + static_cast<size_t>((i * 7 + seed) % 89));
  }
  for (void* b : held) std::free(b);
}

double pairsPerSecond(const PairFn& loop, int threads) {
  double perItem = zvbench::secondsPerItem([&](int64_t n) {
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) pool.emplace_back(loop, n, t * 13);
    for (auto& th : pool) th.join();
  });
  return threads / perItem;
}

}  // namespace

int main() {
  for (int threads : {1, 2}) {
    double engine = pairsPerSecond(engineLoop, threads);
    double heap = pairsPerSecond(heapLoop, threads);
    double crt = pairsPerSecond(mallocLoop, threads);
    std::string t = std::to_string(threads) + (threads == 1 ? " thread" : " threads");
    zvbench::report("mallocex/_mfree pairs, " + t, engine / 1e6, "M/s");
    zvbench::report("HeapAlloc/HeapFree pairs, " + t, heap / 1e6, "M/s");
    zvbench::report("calloc/free pairs, " + t, crt / 1e6, "M/s");
    zvbench::report("ratio engine/HeapAlloc, " + t, engine / heap, "x");
    zvbench::report("ratio engine/calloc, " + t, engine / crt, "x");
  }
  return 0;
}
