// The engine's list of CD-ROM drives with the identity of the disc in each,
// kept current by the hidden "CDMonitorWnd" window on the loading thread.
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

// The unit: lists the drives and creates the monitor window. The discs are
// asked only once the loading thread takes its messages, never while the
// library is being loaded.
bool startCdDrives();
void stopCdDrives(bool processExit);

// Reads every drive's identity again and announces the discs that changed
// (what a device change does). Loading thread only.
void refreshCdDrives(bool announce);

}  // namespace zv
