// What the system's task scheduler holds for the player's task, read back
// through the same Task Scheduler interface that zvsched writes through.
#pragma once
#include <optional>
#include <string>

namespace zvtest {

struct ListedTask {
  int triggerCount = 0;
  int actionCount = 0;
  std::wstring startBoundary;  // of the first trigger
  std::wstring program;        // of the first action
  int triggerType = 0;         // TASK_TRIGGER_TYPE2 of the first trigger
  std::wstring endBoundary;    // of the first trigger; empty when none
};

// Nullopt when the scheduler (Task Scheduler 2.0) lists no task of that name
// in its root folder.
std::optional<ListedTask> listedTask(const wchar_t* name);

// The work item of that name of the older interface (Task Scheduler 1.0);
// its first trigger's begin day and start time as a start boundary.
std::optional<ListedTask> listedJob(const wchar_t* name);

// The scheduled start wherever it is kept: the task, else the work item.
// Nullopt when neither exists.
std::optional<ListedTask> scheduledStart(const wchar_t* name);

// True when this system offers the Task Scheduler 2.0 interface at all.
bool haveTaskScheduler();

}  // namespace zvtest
