// The engine memory manager's unit hooks; the allocation calls themselves
// are the exports of zv_memory.h.
#pragma once

namespace zv {

bool startMemoryManager();
void stopMemoryManager(bool processExit);

// Adds one to the bus's "messages posted" statistic.
void countPostedMessage();

// Adds one to the count of bus messages whose post failed and returns the new
// total. The statistics record has no field for it (its layout is fixed), so
// the bus reports the total in its diagnostic lines.
long countDroppedMessage();

}  // namespace zv
