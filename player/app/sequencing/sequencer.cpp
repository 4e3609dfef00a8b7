#include "sequencing/sequencer.h"

#include <windows.h>

#include <cctype>

namespace zv {

std::string SequencerView::text(const char* localised) {
  std::string s = localised ? localised : "";
  size_t at = s.find("###");
  return at == std::string::npos ? s : s.substr(at + 3);
}

Sequencer::Sequencer(Playlist current, StreamPort& port, SequencerView& view)
    : pl_(current), port_(port), view_(view) {}

const ZvStatusRec* Sequencer::streamStatus() const {
  auto it = streams_.find(stream_);
  return stream_ && it != streams_.end() ? &it->second->status.audio : nullptr;
}

OpenedStream* Sequencer::record(ZvTarget stream) {
  auto it = streams_.find(stream);
  return it == streams_.end() ? nullptr : it->second.get();
}

void Sequencer::forget(ZvTarget stream) { streams_.erase(stream); }

// ---- Lines -------------------------------------------------------------------

void Sequencer::selectLine(int32_t index, bool backwards) {
  failedOpens_ = 0;
  select(index, backwards);
}

void Sequencer::select(int32_t index, bool backwards) {
  int32_t count = plGetCount(pl_);
  if (index < 0 || index >= count) index = -1;
  int32_t found = -1;
  for (int32_t i = index, n = 0; index >= 0 && n < count; ++n) {
    if (isFileLine(pl_, i)) {
      found = i;
      break;
    }
    i = backwards ? (i == 0 ? count - 1 : i - 1) : (i + 1 == count ? 0 : i + 1);
  }
  if (found >= 0) {
    curFileN_ = found;
    curGroupN_ = groupLineOf(pl_, found);
    curFileName_ = plGetName(pl_, found);
    backwards_ = backwards;
    if (playIntent_) {
      openCurrent();
    } else {
      needsOpen_ = true;
      view_.positionReset();
      if (stream_) stopOrClose(stream_, true);
      view_.hideVideo();
    }
  } else {
    curFileN_ = curGroupN_ = -1;
    curFileName_.clear();
    view_.positionReset();
    if (stream_) stopOrClose(stream_, true);
  }
  view_.currentLineChanged(curFileN_, curGroupN_);
}

std::vector<int32_t> Sequencer::effectiveOrder() {
  const std::vector<int32_t>& order = orders_.playOrder(pl_, settings_.shuffle, settings_.groupMode);
  if (settings_.loop1 && curFileN_ >= 0) return groupRangeFilter(pl_, order, curFileN_);
  return order;
}

int32_t Sequencer::peekNextFile(bool backwards) {
  std::vector<int32_t> order = effectiveOrder();
  if (order.size() == 1) return order.front();
  return stepInOrder(order, curFileN_, backwards);
}

void Sequencer::nextFile(bool backwards) {
  failedOpens_ = 0;
  advance(backwards);
}

void Sequencer::advance(bool backwards) {
  int32_t next = peekNextFile(backwards);
  if (next >= 0) select(next, backwards);
}

void Sequencer::nextGroup(bool backwards) {
  failedOpens_ = 0;
  int32_t count = plGetCount(pl_);
  if (curFileN_ < 0 || curFileN_ >= count) return;
  int32_t i = curFileN_;
  do {
    i = backwards ? (i == 0 ? count - 1 : i - 1) : (i + 1 == count ? 0 : i + 1);
  } while (i != curFileN_ && !isGroupLine(pl_, i));
  select(i, backwards);
}

// Skipping on after a failed open stops once as many opens failed in a row as
// the order has entries: with nothing playable the player would otherwise
// start decoders for every line again and again.
void Sequencer::skipAfterFailure(bool backwards) {
  ++failedOpens_;
  if (failedOpens_ >= effectiveOrder().size()) {
    failedOpens_ = 0;
    playIntent_ = false;
    needsOpen_ = true;
    view_.positionReset();
    view_.nothingPlayable();
    return;
  }
  advance(backwards);
}

// ---- Streams -----------------------------------------------------------------

void Sequencer::openCurrent() {
  needsOpen_ = false;
  previous_ = stream_;
  auto opened = std::make_unique<OpenedStream>(port_);
  ZvTarget handle = port_.open(curFileName_, opened->audioStatus(), &opened->context);
  if (!handle) {
    opened->releaseContext();
    view_.postSkip(backwards_);
    return;
  }
  pending_ = handle;
  streams_[handle] = std::move(opened);
}

void Sequencer::startStream(uint32_t caps) {
  playIntent_ = true;
  if ((caps & capStream) && settings_.crossfade) {
    if (settings_.skipStart && settings_.skipStartL != 0) port_.seek(stream_, settings_.skipStartL);
    port_.play(stream_, settings_.cfDuration, settings_.fadeMode);
  } else {
    port_.play(stream_, 0, 0);
  }
}

void Sequencer::stopOrClose(ZvTarget stream, bool close) {
  OpenedStream* rec = record(stream);
  if (rec && rec->closing) return;  // a close was already asked for
  int32_t fade = settings_.crossfade ? settings_.cfDuration : 0;
  if (close) {
    if (rec) rec->closing = true;
    port_.close(stream, fade, settings_.fadeMode);
  } else {
    port_.stop(stream, fade, settings_.fadeMode);
  }
}

void Sequencer::onOpened(ZvTarget s, const ZvOpenedPrm& report) {
  OpenedStream* rec = record(s);
  if (rec) rec->releaseContext();  // the engine is done with the candidates
  if (s != pending_) {
    if (rec) rec->closing = true;
    port_.close(s, 0, 0);
    return;
  }
  failedOpens_ = 0;
  view_.streamOpened(s, report);
  crossfadeArmed_ = false;
  if (previous_) {
    if (previous_ != s) stopOrClose(previous_, true);
    previous_ = 0;
  }
  stream_ = s;
  playedName_ = curFileName_;
  playedIndex_ = curFileN_;
  seeking_ = false;
  if (playIntent_) startStream(report.caps);
  pending_ = 0;
  seekable_ = !(report.caps & capNoSeek);
}

void Sequencer::onOpenFailed(ZvTarget s) {
  port_.stopPlugin(s);
  if (s != pending_) {
    forget(s);  // an open nobody waits for: its context goes with its record
    view_.openFailed();
    return;
  }
  view_.positionReset();
  auto it = streams_.find(s);
  std::unique_ptr<OpenedStream> rec = it != streams_.end() ? std::move(it->second) : nullptr;
  streams_.erase(s);
  if (!rec) rec = std::make_unique<OpenedStream>(port_);
  pending_ = port_.openNext(&rec->context);
  if (pending_) streams_[pending_] = std::move(rec);  // the next decoder writes the same record
  view_.openFailed();
  if (!pending_) skipAfterFailure(backwards_);
}

void Sequencer::onState(ZvTarget s, int32_t state) {
  if (s == stream_ && state != stSeeking) seeking_ = false;
}

void Sequencer::onEndReached(ZvTarget s) {
  if (s != stream_) return;
  // The cross-fade already chose the next file and is opening it: a second
  // advance would skip one.
  if (crossfadeArmed_ && pending_) return;
  if (settings_.loop2)
    select(curFileN_, false);
  else
    advance(false);
}

void Sequencer::onClosed(ZvTarget s) {
  port_.stopPlugin(s);
  if (s == stream_) {
    stream_ = 0;
    playedName_.clear();
    playedIndex_ = -1;
    view_.positionReset();
  } else if (s == pending_) {
    pending_ = 0;
  }
  if (s == previous_) previous_ = 0;
  forget(s);
  view_.streamFinished();
}

void Sequencer::onSkip(bool backwards) { skipAfterFailure(backwards); }

void Sequencer::onCrossfadeTimer() {
  const ZvStatusRec* status = streamStatus();
  // Only while playing: a stream paused near its end must stay where it is.
  if (!status || !playIntent_ || crossfadeArmed_ || !settings_.crossfade) return;
  if (status->lengthMs < 1 || curFileN_ < 0) return;
  int32_t lead = settings_.cfDuration + (settings_.skipEnd ? settings_.skipEndL : 0);
  if (lead <= 0 || status->lengthMs - status->positionMs >= lead) return;
  crossfadeArmed_ = true;
  // "Repeat file" cross-fades into the same file again.
  int32_t next = settings_.loop2 ? curFileN_ : peekNextFile(false);
  if (next < 0) return;
  std::string current = playedName_.empty() ? curFileName_ : playedName_;
  if (!port_.canCrossfade(current)) return;
  if (next != curFileN_ && !port_.canCrossfade(plGetName(pl_, next))) return;
  select(next, false);
}

// ---- Commands ----------------------------------------------------------------

void Sequencer::play() {
  failedOpens_ = 0;
  playIntent_ = true;
  if (needsOpen_ || (!stream_ && !pending_ && curFileN_ >= 0))
    openCurrent();
  else if (stream_)
    port_.play(stream_, 0, 0);
}

void Sequencer::play2() {
  if (stream_ && !needsOpen_) port_.seek(stream_, 0);
  play();
}

void Sequencer::stop() {
  playIntent_ = false;
  if (stream_) port_.stop(stream_, 0, 0);
}

void Sequencer::stop2() {
  stop();
  if (stream_) port_.seek(stream_, 0);
}

void Sequencer::fadePlay() {
  failedOpens_ = 0;
  playIntent_ = true;
  if (needsOpen_ || (!stream_ && !pending_ && curFileN_ >= 0))
    openCurrent();
  else if (stream_)
    port_.play(stream_, settings_.cfDuration, settings_.fadeMode);
}

void Sequencer::fadeStop() {
  playIntent_ = false;
  if (stream_) port_.stop(stream_, settings_.cfDuration, settings_.fadeMode);
}

bool Sequencer::seek(int32_t positionMs) {
  if (!stream_) return false;
  port_.seek(stream_, positionMs);
  seeking_ = true;
  return true;
}

// ---- The open operation ------------------------------------------------------

void Sequencer::newPlaylist() {
  plClear(pl_);
  PlaylistLine root{};
  root.flags = lfGrouped | lfGroup | lfPlaylist;
  std::string desc = view_.text("NewPl###<New playlist>");
  plAddLine(pl_, &root, "", desc.c_str(), nullptr);
}

void Sequencer::beginOpen(OpenMode mode) {
  if (!(mode & ZV_OPEN_ADD)) {
    if (!(mode & ZV_OPEN_REPLACE)) view_.editorsTakeCopies();
    newPlaylist();
  }
  firstAdded_ = -1;
}

bool Sequencer::addItem(std::string path, OpenMode mode) {
  // A longer item would be cut into another name somewhere below.
  if (path.empty() || path.size() >= MAX_PATH) return false;
  if (path.size() > 1 && path.back() == '\\') path.pop_back();
  if (mode & ZV_OPEN_FIND) {
    int32_t count = plGetCount(pl_);
    for (int32_t i = 0; i < count; ++i) {
      if (lstrcmpiA(plGetName(pl_, i), path.c_str()) == 0) {
        if (firstAdded_ < 0) firstAdded_ = i;
        return true;
      }
    }
  }
  int32_t count = plGetCount(pl_);
  plInsFile(pl_, count, path.c_str(), 0, 1);
  // Only a line that was really added counts as the first added one.
  if (firstAdded_ < 0 && plGetCount(pl_) > count) firstAdded_ = count;
  return true;
}

void Sequencer::endOpen(OpenMode mode) {
  saveAndReindex();
  if (mode & ZV_OPEN_ADD) {
    if ((mode & ZV_OPEN_PLAY) && firstAdded_ >= 0) {
      playIntent_ = true;
      selectLine(firstAdded_, false);
    }
  } else {
    selectLine(-1, false);
    nextFile(false);
  }
  if (plGetCount(pl_) <= 1) view_.noPlayableFiles();
}

void Sequencer::saveAndReindex(bool askForInfo) {
  if (askForInfo) view_.requestInfo(pl_);
  view_.saveCurrentPlaylist(pl_);
  orders_.rebuild(pl_);
  view_.reindexed();
}

void Sequencer::discRemoved(char drive) {
  drive = static_cast<char>(std::toupper(static_cast<unsigned char>(drive)));
  auto firstOnDrive = [&]() -> int32_t {
    int32_t count = plGetCount(pl_);
    for (int32_t i = 0; i < count; ++i) {
      const char* name = plGetName(pl_, i);
      if (name[0] && name[1] == ':' && std::toupper(static_cast<unsigned char>(name[0])) == drive) return i;
    }
    return -1;
  };
  if (curFileN_ >= 0) plMarkLine(pl_, curFileN_, 1);
  int32_t line = firstOnDrive();
  if (line < 0) {
    plDelMarks(pl_);
    return;
  }
  for (; line >= 0; line = firstOnDrive()) plDelBranch(pl_, line);
  saveAndReindex();
  int32_t marked = plFindMark(pl_, 1);
  if (marked >= 0 && marked != curFileN_ && curFileName_ == plGetName(pl_, marked)) {
    // The current file only moved: it keeps playing, its index follows it.
    if (playedIndex_ == curFileN_) playedIndex_ = marked;
    curFileN_ = marked;
    curGroupN_ = groupLineOf(pl_, marked);
    view_.currentLineChanged(curFileN_, curGroupN_);
  } else if (marked != curFileN_) {
    select(marked < 0 ? 0 : marked, false);
  }
  plDelMarks(pl_);
}

void Sequencer::editPlaylist(const std::function<void()>& edit) {
  const int32_t before = curFileN_;
  plDelMarks(pl_);
  if (before >= 0) plMarkLine(pl_, before, 1);
  edit();
  saveAndReindex();
  const int32_t marked = plFindMark(pl_, 1);
  plDelMarks(pl_);
  if (before < 0) return;
  if (marked >= 0) {
    // The current line only moved: it keeps playing, its index follows it.
    if (playedIndex_ == curFileN_) playedIndex_ = marked;
    curFileN_ = marked;
    curGroupN_ = groupLineOf(pl_, marked);
    view_.currentLineChanged(curFileN_, curGroupN_);
  } else {
    // It was deleted: the line that took its place is the current one.
    select(std::min(before, plGetCount(pl_) - 1), false);
  }
}

}  // namespace zv
