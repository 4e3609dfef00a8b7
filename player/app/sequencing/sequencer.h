// The sequencing of playback: which line of the current playlist plays, in
// which order, and what the engine's streams are told, driven by commands,
// by the engine's notifications and by the main window's timer. Every
// operation runs on the main thread; the window only translates messages into
// the calls below.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sequencing/opened_stream.h"
#include "sequencing/play_order.h"
#include "sequencing/sequencer_view.h"
#include "sequencing/sequencing_settings.h"

namespace zv {

// Message the main window posts to itself when inOpen returned 0.
constexpr unsigned kMsgSkipAfterFailedOpen = 1044;

class Sequencer {
 public:
  Sequencer(Playlist current, StreamPort& port, SequencerView& view);
  Sequencer(const Sequencer&) = delete;
  Sequencer& operator=(const Sequencer&) = delete;

  SequencingSettings& settings() { return settings_; }
  PlayOrders& orders() { return orders_; }

  // ---- Lines ----
  void selectLine(int32_t index, bool backwards);
  void nextFile(bool backwards);
  void nextGroup(bool backwards);
  // The line next file would select, without selecting it (-1: none).
  int32_t peekNextFile(bool backwards);

  // ---- Playing (commands "play", "stop" and their forms) ----
  void play();
  void play2();  // from position 0
  void stop();
  void stop2();  // and back to position 0
  void fadePlay();
  void fadeStop();
  void togglePlay() { playIntent_ ? stop() : play(); }
  void fadeTogglePlay() { playIntent_ ? fadeStop() : fadePlay(); }
  // Seeks the playing stream; false without one.
  bool seek(int32_t positionMs);

  // ---- Engine notifications ----
  void onOpened(ZvTarget stream, const ZvOpenedPrm& report);  // 6225
  void onOpenFailed(ZvTarget stream);                          // 6224
  void onState(ZvTarget stream, int32_t state);                // 6226
  void onEndReached(ZvTarget stream);                          // 6228
  void onClosed(ZvTarget stream);                              // 6229
  void onSkip(bool backwards);                                 // 1044
  // The cross-fade trigger, every 500 ms while a stream plays.
  void onCrossfadeTimer();

  // ---- The open operation (OpenMode bits of zv_playback.h) ----
  void beginOpen(OpenMode mode);
  // False when the item was refused (longer than a path may be).
  bool addItem(std::string path, OpenMode mode);
  void endOpen(OpenMode mode);
  // The current playlist becomes one root line.
  void newPlaylist();
  void saveAndReindex(bool askForInfo = true);
  // A disc was removed from `drive` ('A'..'Z').
  void discRemoved(char drive);
  // Runs `edit` on the current playlist (a playlist editor's change) and keeps
  // playback on its line: the current line is marked (mark 1) before, the
  // playlist saved and re-indexed after, and the line found again.
  void editPlaylist(const std::function<void()>& edit);

  // ---- State the window shows ----
  int32_t curFileN() const { return curFileN_; }
  int32_t curGroupN() const { return curGroupN_; }
  const std::string& curFileName() const { return curFileName_; }
  ZvTarget stream() const { return stream_; }
  ZvTarget pendingStream() const { return pending_; }
  const std::string& playedName() const { return playedName_; }
  int32_t playedIndex() const { return playedIndex_; }
  bool playIntent() const { return playIntent_; }
  void setPlayIntent(bool on) { playIntent_ = on; }
  bool needsOpen() const { return needsOpen_; }
  bool seeking() const { return seeking_; }
  bool seekable() const { return seekable_; }
  bool crossfadeArmed() const { return crossfadeArmed_; }
  // The playing stream's status record (position, length), or null.
  const ZvStatusRec* streamStatus() const;
  // The whole record of a held stream (with the video words), or null.
  const ZvVideoStatusRec* videoStatus(ZvTarget s) {
    const OpenedStream* rec = record(s);
    return rec ? &rec->status : nullptr;
  }
  // Streams whose records are still held (open, opening or closing).
  size_t heldStreams() const { return streams_.size(); }

 private:
  void select(int32_t index, bool backwards);
  void advance(bool backwards);
  void skipAfterFailure(bool backwards);
  void openCurrent();
  void startStream(uint32_t caps);
  void stopOrClose(ZvTarget stream, bool close);
  std::vector<int32_t> effectiveOrder();
  OpenedStream* record(ZvTarget stream);
  void forget(ZvTarget stream);

  Playlist pl_;
  StreamPort& port_;
  SequencerView& view_;
  SequencingSettings settings_;
  PlayOrders orders_;
  std::map<ZvTarget, std::unique_ptr<OpenedStream>> streams_;

  int32_t curFileN_ = -1, curGroupN_ = -1;
  std::string curFileName_;
  ZvTarget stream_ = 0, pending_ = 0, previous_ = 0;
  std::string playedName_;
  int32_t playedIndex_ = -1;
  bool playIntent_ = false, needsOpen_ = false, backwards_ = false;
  bool seeking_ = false, crossfadeArmed_ = false, seekable_ = false;
  // Opens that failed in a row; a full pass of them ends the skipping.
  size_t failedOpens_ = 0;
  int32_t firstAdded_ = -1;
};

}  // namespace zv
