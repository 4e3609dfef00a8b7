// TOpenFileWnd: the main window's "Open file" dialog. A folder's playable
// files and playlists with its sub-folders, several chosen at once; the
// folder typed or reached with "Up", a folder entered by a double click or
// Enter; with the new-style look ("newStyleOpen") a column of quick folders
// (drives, the music folder) at its left; and two boxes, "Add to existing
// playlist" and "Play opened files", that give the open mode. Modal over its
// owner.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "frame_window.h"
#include "openfile/open_file_rules.h"
#include "own_controls.h"
#include "skin_bitmap.h"
#include "win32/owners.h"

namespace zv {

struct OpenFileOptions {
  std::string folder;                        // shown first
  std::vector<std::string> extensions;       // playable, lower case with the dot
  std::vector<std::string> quickFolders;     // the column at the left; empty: none
  bool addToPlaylist = false, playOpened = true;
  std::function<std::string(const char*)> translate;  // a language text (key, "###", default) -> its text
};

struct OpenFileChoice {
  std::vector<openfile::FolderEntry> chosen;  // full locations; `folder` set for folders
  std::string folder;                         // where the dialog was
  bool addToPlaylist = false, playOpened = false;
  OpenMode mode() const { return openfile::openModeOfBoxes(addToPlaylist, playOpened); }
};

class TOpenFileWnd : public ui::TFrameWnd {
 public:
  TOpenFileWnd();
  ~TOpenFileWnd() override;

  bool create(const std::string& root, HWND owner, OpenFileOptions options);
  // Shows it over the owner and runs until answered; nullopt when cancelled.
  std::optional<OpenFileChoice> runModal();

  // Shows another folder; false (and nothing changes) when it cannot be read.
  bool navigate(const std::string& folder);
  const std::string& folder() const { return folder_; }
  const std::vector<openfile::FolderEntry>& entries() const { return entries_; }

  // The parts, for tests that drive the window.
  HWND pathField() const { return path_.get(); }
  HWND list() const { return list_.get(); }
  ui::TZCheck& addBox() { return *add_; }
  ui::TZCheck& playBox() { return *play_; }
  ui::TZButton& openButton() { return *open_; }
  ui::TZButton& cancelButton() { return *cancel_; }
  ui::TZButton& upButton() { return *up_; }
  size_t quickFolderCount() const { return quick_.size(); }
  ui::TZButton& quickFolder(size_t i) { return *quick_[i]; }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::string tr(const char* localised) const;
  void fillList();
  // Enter or a double click on the list: into a single chosen folder, else open.
  void activate();
  // Enter in the path field: a folder is shown, a file is opened.
  void openTyped();
  void answer(bool open);
  std::vector<openfile::FolderEntry> selection() const;

  OpenFileOptions options_;
  std::string folder_;
  std::vector<openfile::FolderEntry> entries_;
  UniqueWindow path_, list_;
  ui::TZCheck *add_ = nullptr, *play_ = nullptr;
  ui::TZButton *open_ = nullptr, *cancel_ = nullptr, *up_ = nullptr;
  std::vector<ui::TZButton*> quick_;
  ui::SkinBitmap kindPictures_;  // "skins\controls\filekinds.bmp": folder, media, playlist
  std::vector<openfile::FolderEntry> typed_;  // a file named in the path field
  bool answered_ = false;
  std::optional<OpenFileChoice> result_;
};

// The quick folders offered: the music folder when there is one, then the
// drives of the machine (fixed, removable, CD and network ones).
std::vector<std::string> defaultQuickFolders();

}  // namespace zv
