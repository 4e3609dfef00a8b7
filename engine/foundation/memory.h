// The engine memory manager's unit hooks; the allocation calls themselves
// are the exports of zv_memory.h.
#pragma once

namespace zv {

bool startMemoryManager();
void stopMemoryManager(bool processExit);

// Adds one to the bus's "messages posted" statistic.
void countPostedMessage();

}  // namespace zv
