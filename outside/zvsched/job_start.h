// The same scheduled start through the older Task Scheduler 1.0 interface
// (a work item, stored as a ".job" file), for a system whose newer
// scheduler does not keep a task's trigger and program (Wine's stores the
// task without them).
#pragma once
#include <windows.h>

#include <string>

#include "start_moment.h"

namespace zv {

// Creates (or replaces) the work item kScheduledStartTask that starts
// `program` once at `moment`. The calling thread must be in COM.
HRESULT registerJobStart(const StartMoment& moment, const std::wstring& program);

// Deletes the work item; S_OK also when there was none.
HRESULT removeJobStart();

}  // namespace zv
