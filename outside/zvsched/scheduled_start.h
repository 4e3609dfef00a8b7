// The one task of the player in the system's task scheduler (the Task
// Scheduler 2.0 interface): created or replaced by "add", removed by "del".
#pragma once
#include <windows.h>

#include <string>

#include "start_moment.h"

namespace zv {

// The task's name in the scheduler's root folder.
constexpr wchar_t kScheduledStartTask[] = L"Zorvak scheduled start";

// Registers (or replaces) the task starting `program` once at `moment`,
// allowed to wake the computer. The calling thread must be in COM.
HRESULT registerScheduledStart(const StartMoment& moment, const std::wstring& program);

// Deletes the task; S_OK also when there was none.
HRESULT removeScheduledStart();

}  // namespace zv
