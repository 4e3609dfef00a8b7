// A disc's table of contents as read through MCI, and the CDDB disc id
// computed from it.
#pragma once
#include <cstdint>
#include <vector>

#include "discs/mci_cd.h"

namespace zv {

struct DiscToc {
  std::vector<int32_t> starts;  // frame offset of each track
  int32_t leadOut = 0;          // frame offset just after the last track
};

// The published CDDB disc id: digit sums of the track starts in whole
// seconds, the playing time in seconds, and the track count.
uint32_t cddbDiscId(const int32_t* starts, int32_t count, int32_t leadOut);

// Reads the table of contents of an open device; leaves the time format at
// minutes/seconds/frames. False when any request fails or there are no tracks.
bool readDiscToc(MciCd& cd, DiscToc& toc);

// The CDDB disc id of the disc in drive `letter`; 0 when it cannot be read.
uint32_t discIdOfDrive(char letter);

}  // namespace zv
