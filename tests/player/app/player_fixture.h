// Shared by the player unit tests: the engine set up once (own configuration
// section, test extensions, plug-ins), playlists built line by line, and a
// stream port and view that record what the sequencing rules ask for.
#pragma once
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "sequencing/sequencer.h"
#include "zv_playlist.h"

namespace ptest {

void ensureEngine();

struct OwnedPl {
  Playlist pl = createPlaylist(-1);
  OwnedPl() = default;
  ~OwnedPl() { freePlaylist(pl); }
  OwnedPl(const OwnedPl&) = delete;
  OwnedPl& operator=(const OwnedPl&) = delete;
  operator Playlist() const { return pl; }
};

// "G name@level" is a group line, "name@level" a file line.
void fill(Playlist pl, const std::vector<std::string>& lines);

// Records every call as one text ("open a", "play 101 0 0", ...); opens give
// 101, 102, ... except for names listed in `unopenable`.
class FakePort : public zv::StreamPort {
 public:
  std::vector<std::string> calls;
  std::set<std::string> unopenable;
  std::set<std::string> crossfadable;
  std::vector<ZvTarget> nextHandles;  // what openNext gives, in turn (then 0)
  std::map<ZvTarget, ZvStatusRec*> statusOf;
  std::vector<std::unique_ptr<ZvOpenContext>> contexts;
  std::multiset<const ZvOpenContext*> released;
  ZvTarget nextHandle = 101;

  ZvTarget open(const std::string& fileName, ZvStatusRec* status, ZvOpenContext** context) override;
  ZvTarget openNext(ZvOpenContext** context) override;
  void play(ZvTarget s, int32_t fadeMs, int32_t fadeMode) override;
  void stop(ZvTarget s, int32_t fadeMs, int32_t fadeMode) override;
  void close(ZvTarget s, int32_t fadeMs, int32_t fadeMode) override;
  void seek(ZvTarget s, int32_t positionMs) override;
  void stopPlugin(ZvTarget s) override;
  bool canCrossfade(const std::string& fileName) override;
  void releaseContext(ZvOpenContext* context) override;

  // Calls since the last take, and forgets them.
  std::vector<std::string> take();
};

class FakeView : public zv::SequencerView {
 public:
  std::vector<bool> skips;  // posted 1044s, oldest first
  int nothingPlayableCount = 0, noPlayableFilesCount = 0, saves = 0, editorCopies = 0;
  std::vector<int32_t> currentLines;
  void postSkip(bool backwards) override { skips.push_back(backwards); }
  void nothingPlayable() override { ++nothingPlayableCount; }
  void noPlayableFiles() override { ++noPlayableFilesCount; }
  void saveCurrentPlaylist(Playlist) override { ++saves; }
  void editorsTakeCopies() override { ++editorCopies; }
  void currentLineChanged(int32_t fileN, int32_t) override { currentLines.push_back(fileN); }
};

// Delivers the posted skips as the message loop would, until none is left
// or `limit` were delivered; returns how many.
int pumpSkips(zv::Sequencer& seq, FakeView& view, int limit = 1000);

}  // namespace ptest
