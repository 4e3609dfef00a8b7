// The engine's list of CD-ROM drives with the identity of the disc in each,
// kept current by the hidden "CDMonitorWnd" window on the thread that
// called initPlugins.
#pragma once
#include <cstdint>

namespace zv {

// One drive (allocation tag "cdRec").
struct CdDriveRec {
  char identity[16];  // media identity in hexadecimal, "" without a disc
  uint32_t discId;    // CDDB disc id of the disc, 0 when unknown
  uint32_t threadId;  // the cdaudio thread that has the drive open, 0 when none
};
static_assert(sizeof(CdDriveRec) == 24);

// The table is rewritten by the monitor on its thread and read from any
// thread (fsControl, decodeCDA, the CD instances), so it is reached only
// through these calls, which hold its lock.

// A copy of the drive's record; false when `letter` is not a listed CD-ROM drive.
bool cdDriveRecord(char letter, CdDriveRec* copy);

// Notes which cdaudio thread has the drive open (0: none); false when the
// drive is not listed.
bool setCdDriveUser(char letter, uint32_t threadId);

// The letter of a listed drive whose disc has this id, else 0.
char driveHoldingDisc(uint32_t discId);

// The unit: lists the drives at load; unload destroys the monitor if it
// still exists.
bool startCdDrives();
void stopCdDrives(bool processExit);

// The hidden monitor window, created by initPlugins on its caller's thread
// (which takes messages: the player's interface thread) and destroyed by
// freePlugins. The discs are first asked once that thread takes its
// messages. A second start while one exists does nothing.
void startCdMonitor();
void stopCdMonitor();

// Reads every drive's identity again and announces the discs that changed
// (what a device change does). The monitor's thread only.
void refreshCdDrives(bool announce);

// What asks for fresh descriptions of a drive root whose disc changed. The
// description unit lies above the drive list, so the load sequence names it
// before the unit starts; without one, a change is only broadcast.
void setDiscDescriber(void (*describe)(const char* path));

}  // namespace zv
