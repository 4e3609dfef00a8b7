// What the sequencing rules tell the main window. Every call is made on the
// main thread, from inside a sequencer operation; the window updates its
// labels, menus and other windows, and posts to itself where told.
#pragma once
#include <string>

#include "zv_playback.h"
#include "zv_playlist.h"

namespace zv {

class SequencerView {
 public:
  virtual ~SequencerView() = default;
  // Post message 1044 to the main window with `backwards` as first parameter:
  // the skip after a failed inOpen runs from the message loop, not recursively.
  virtual void postSkip(bool backwards) = 0;
  // The current line changed (-1: none): labels, list menus, editors, the file
  // information window.
  virtual void currentLineChanged(int32_t /*fileN*/, int32_t /*groupN*/) {}
  virtual void positionReset() {}
  virtual void hideVideo() {}
  // A stream became the playing one: sampler, video window, balloon, title,
  // equalizer preset.
  virtual void streamOpened(ZvTarget /*stream*/, const ZvOpenedPrm& /*report*/) {}
  // An open failed in the engine: the sampler is told to stop.
  virtual void openFailed() {}
  // A stream finished: pending tag writes are written out.
  virtual void streamFinished() {}
  // A full pass through the order opened nothing; playback stopped.
  virtual void nothingPlayable() {}
  // An open operation left only the root line ("NoPlayableFiles").
  virtual void noPlayableFiles() {}
  // Before the current playlist is replaced: editors that show it get copies.
  virtual void editorsTakeCopies() {}
  // Save-and-re-index, in its order: descriptions asked for, the playlist
  // saved, then (after the order arrays) menus rebuilt and disc ids stored.
  virtual void requestInfo(Playlist /*pl*/) {}
  virtual void saveCurrentPlaylist(Playlist /*pl*/) {}
  virtual void reindexed() {}
  // A localised text ("key###default") in the user's language.
  virtual std::string text(const char* localised);
};

}  // namespace zv
