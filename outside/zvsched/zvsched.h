// zvsched.dll: one scheduled start of the player, kept by the system's task
// scheduler so that it happens (waking the computer) whether or not the
// player is running. The player loads the library by name when the user arms
// or disarms the on timer and relies on nothing but these two exports.
#pragma once
#include <windows.h>

extern "C" {

// Schedules the one start of `program` at the given local date and time,
// replacing any start scheduled before. `date` is "dd/mm/yyyy" and `time`
// "hh:mm" (24-hour), each field one or two digits, the year four. `program`
// is the full path of the program to start (at most MAX_PATH - 1 bytes, in
// the ANSI code page). Nonzero when the scheduler took the task; zero, with
// nothing changed, for a missing or malformed argument, a date that does
// not exist, or a system without a task scheduler. Any thread; the library
// enters COM for the call if the thread has not.
BOOL WINAPI add(const char* date, const char* time, const char* program);

// Removes the scheduled start. Nonzero when none is scheduled afterwards
// (also when there was none); zero when the scheduler could not be reached
// or refused.
BOOL WINAPI del(void);

}
