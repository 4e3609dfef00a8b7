// What the CD tests share: the CD database folder of this test's root, and
// the simulated drive behind MCI.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "zv_cddb.h"

namespace cdtest {

// <root>\cddb, created.
std::string cddbFolder();
// The database file of a disc.
std::string discFile(uint32_t discId);
// Writes a database file as given (bytes exactly).
void writeDiscFile(uint32_t discId, const std::string& text);
std::string readDiscFile(uint32_t discId);

// A disc for the simulated drive: track starts and lead-out in frames.
struct SimDisc {
  std::vector<long> starts;
  long leadOut = 0;
  std::string identity = "123456789";
  double speed = 1.0;
};

// Registers the simulated driver as MCI "cdaudio" (once per process) and
// puts `disc` into the drive; no argument empties the drive.
void insertDisc(const SimDisc& disc);
void ejectDisc();
// The simulated driver's command log since the last insert or eject.
std::string simLog();

// A record's texts freed at scope end.
struct InfoGuard {
  ZvCddbInfo info = {};
  ~InfoGuard() { cddbFreeInfo(&info); }
};

}  // namespace cdtest
