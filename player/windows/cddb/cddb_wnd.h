// TCDDBWnd: the CD database window ("CD database"). Pick a disc of the local
// CD database, rename it and its tracks, and edit its play order: which
// tracks play, in which order. Everything goes through the engine: discs
// and tracks come from "CD:\*.m3u" and the disc's own path, names from
// setDesc, the order is saved as the disc's playlist.
#pragma once
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "cd_disc_store.h"
#include "cd_track_list.h"
#include "child_controls.h"
#include "frame_window.h"
#include "own_controls.h"
#include "window_lng.h"

namespace zv::cddb {

class TCDDBWnd : public ui::TFrameWnd {
 public:
  TCDDBWnd(std::string rootDir, std::string language);
  ~TCDDBWnd() override;

  // Creates the window (hidden), fills the disc list and, when
  // `currentFile` is an audio-CD path, selects and loads its disc.
  bool create(HWND owner, const std::string& currentFile);

  const std::vector<DiscEntry>& discs() const { return discs_; }
  int selectedDisc() const { return selected_; }
  // Saves a dirty track list, then loads disc `index` (-1: none).
  void selectDisc(int index);
  // Rebuilds the disc list (keeping the selected disc when it is there).
  void refreshDiscs();
  const CdTrackList& tracks() const { return tracks_; }
  int selectedTrack() const;
  void selectTrack(int index);
  // Commands of the buttons and the ">" menu: "del", "up", "down",
  // "number", "name", "rev", "rand", "reset", "query", "add:<track>", "ren".
  void runCommand(const std::string& command);
  // Gives track `index` of the list a new name (the in-place editor's end).
  void renameTrackAt(int index, const std::string& name);
  // Saves the play order when the list was changed.
  void saveIfDirty();

  HWND discBox() const { return disk_; }
  HWND trackView() const { return track_; }
  ui::TZButton* button(const std::string& name) const;

  // Seam for tests: asks for a new disc name (true with `name` changed).
  void setNameAsker(std::function<bool(std::string& name)> ask) { ask_ = std::move(ask); }
  void setRandomSeed(uint32_t seed) { random_.seed(seed); }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void build();
  void fillTrackView(int select);
  void loadSelectedDisc();
  void showAddMenu();
  void showMainMenu();
  void renameDisc();
  uint32_t discId() const;
  LRESULT onNotify(NMHDR* header);
  void finishDrag(POINT p);
  std::string tr(const std::string& key, const std::string& text);

  std::string rootDir_, language_;
  std::unique_ptr<ui::WindowLng> lng_;
  std::vector<DiscEntry> discs_;
  int selected_ = -1;
  CdTrackList tracks_;
  HWND disk_ = nullptr, track_ = nullptr;
  std::vector<std::pair<std::string, ui::TZButton*>> buttons_;
  info::ChildColors colors_;
  std::function<bool(std::string&)> ask_;
  std::mt19937 random_{std::random_device{}()};
  int dragFrom_ = -1;
};

}  // namespace zv::cddb
