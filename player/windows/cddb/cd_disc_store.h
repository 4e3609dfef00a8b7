// The CD database as the CD window sees it, through the engine: the discs
// ("CD:\*.m3u"), a disc's tracks in play order, the record's tracks, the play
// order saved as the disc's playlist (the engine keeps it as PLAYORDER),
// names through setDesc, and titles from the Windows CD database.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "cd_track_list.h"

namespace zv::cddb {

struct DiscEntry {
  std::string path;  // "CD:\%8.8X.m3u"
  std::string name;
  uint32_t discId = 0;
};

// Every disc of the database, sorted by name.
std::vector<DiscEntry> listDiscs();
// The disc's tracks in play order.
std::vector<CdTrackItem> loadDiscTracks(const std::string& discPath);
// Every track of the disc's record in number order (titles, or `trackWord`
// + " " + number); false when the disc has no record.
bool recordTracks(uint32_t discId, const std::string& trackWord, std::vector<CdTrackItem>& out);
// Saves the order as the disc's play order; false when the engine refused.
bool savePlayOrder(uint32_t discId, const std::vector<CdTrackItem>& items);
// Names a disc or a track (counted from 1) through setDesc.
void renameDisc(uint32_t discId, const std::string& name);
void renameTrack(uint32_t discId, int track, const std::string& name);
// Fills missing titles from the Windows CD database and stores the record;
// false when there is no record or nothing could be stored.
bool queryWindowsCddb(uint32_t discId);
// The disc id of a CD path (0 for other paths).
uint32_t discIdOf(const std::string& path);

}  // namespace zv::cddb
