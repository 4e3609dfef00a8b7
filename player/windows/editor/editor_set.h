// All open playlist editors of the program: their numbers, opening editors
// for the main playlist or for a location of their own, finding a live
// editor by number (drops are checked against these before anything is
// used), the state files written at exit and read at the next start, and
// the editors' own language file ("pleditor.lng").
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor_host.h"
#include "editor_numbers.h"
#include "foundation/language_state.h"
#include "pl_editor_wnd.h"

namespace zv::editor {

class EditorSet {
 public:
  explicit EditorSet(EditorHost& host);
  ~EditorSet();
  EditorSet(const EditorSet&) = delete;
  EditorSet& operator=(const EditorSet&) = delete;

  // An editor of the main playlist; null (after telling the user) when all
  // 1024 numbers are taken.
  TPLEditorWnd* openMain();
  // An editor of its own playlist for `location` (a playlist file, a
  // folder, a disc); an empty location gives a new, empty playlist.
  TPLEditorWnd* openLocation(const std::string& location);
  // An editor owning `pl` (taken also on failure).
  TPLEditorWnd* openOwned(Playlist pl, const std::string& caption);

  TPLEditorWnd* find(int number, uint32_t serial) const;
  TPLEditorWnd* byListWindow(HWND list) const;
  std::vector<TPLEditorWnd*> editors() const;
  size_t count() const { return editors_.size(); }

  // The main playlist changed: every editor of it redraws.
  void mainListChanged();
  // Every editor of the main playlist but `except` takes a copy to own.
  void detachMainEditors(TPLEditorWnd* except);

  // At exit: every editor's state file into `folder` (created when
  // missing), then the stale ones removed, then the editors closed.
  void saveAndCloseAll(const std::string& folder);
  // At start: every valid state file of `folder` becomes an editor again;
  // damaged ones are skipped. Returns how many came back.
  int restoreAll(const std::string& folder);

  // The editor's window is gone (called from its WM_DESTROY).
  void closed(TPLEditorWnd* editor);
  // A text of the editors' language file.
  std::string text(const char* localised);

 private:
  TPLEditorWnd* add(std::optional<int> number, Playlist owned, const std::string& caption, const EditorState* state);
  void bury();

  EditorHost& host_;
  EditorNumbers numbers_;
  uint32_t nextSerial_ = 1;
  LanguageState lang_;
  std::vector<std::unique_ptr<TPLEditorWnd>> editors_;
  std::vector<std::unique_ptr<TPLEditorWnd>> gone_;  // destroyed windows, freed at the next call
};

}  // namespace zv::editor
