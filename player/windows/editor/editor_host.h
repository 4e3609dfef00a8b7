// What the playlist editors need from the program around them: the main
// playlist and its playback, the file information window, the locations the
// add menu offers, texts, skins, and the dialogs (a port that tests answer).
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor_menu.h"
#include "editor_save_options.h"
#include "zv_playlist.h"

namespace zv::ui {
class TSkin;
}

namespace zv::editor {

class EditorDialogs {
 public:
  virtual ~EditorDialogs() = default;
  // Files to add ("od", several); empty when cancelled.
  virtual std::vector<std::string> openFiles(HWND owner, const std::string& filter) = 0;
  // A playlist file to edit ("lod"); nullopt when cancelled.
  virtual std::optional<std::string> openPlaylist(HWND owner, const std::string& filter) = 0;
  // A file to save to ("lsd": default extension ".m3u", "xsd": ".z3u").
  virtual std::optional<std::string> saveFile(HWND owner, const std::string& filter, const char* defaultExtension) = 0;
  // A file to save to from "lsd2": the save dialog with the four option
  // boxes (`texts` their captions in order) below the file name; `options`
  // holds the defaults and gets the choice. Without boxes of its own a port
  // asks as saveFile does and keeps the defaults.
  virtual std::optional<std::string> saveFileWithOptions(HWND owner, const std::string& filter,
                                                         const char* defaultExtension, SaveOptions& options,
                                                         const std::vector<std::string>& texts) {
    (void)options;
    (void)texts;
    return saveFile(owner, filter, defaultExtension);
  }
  virtual std::optional<std::string> chooseFolder(HWND owner, const std::string& title) = 0;
  // A message box's answer (IDOK, IDYES, ...).
  virtual int ask(HWND owner, const std::string& text, UINT flags) = 0;
};

// The system's own dialogs.
EditorDialogs& systemEditorDialogs();

class EditorHost {
 public:
  virtual ~EditorHost() = default;
  virtual std::string rootDir() = 0;
  virtual std::string language() = 0;
  // The main window's skin: the editors take their colours from it (null: plain).
  virtual const ui::TSkin* mainSkin() = 0;
  virtual Playlist mainPlaylist() = 0;
  // The line that plays in the main playlist, or -1.
  virtual int32_t currentLine() = 0;
  // Runs `edit` on the main playlist so that playback stays on its line
  // (marked before, found again after) and the playlist is saved and re-indexed.
  virtual void editMainPlaylist(const std::function<void()>& edit) = 0;
  // An editor changed the text of line `line` of the main playlist in place
  // (its description): whatever shows that line is drawn again. No re-index,
  // so the shuffled order stays as it is.
  virtual void mainLineTextChanged(int32_t line) { (void)line; }
  // The main playlist becomes a copy of `pl`.
  virtual void replaceMainPlaylist(Playlist pl) = 0;
  // Plays line `line` of the main playlist.
  virtual void playMainLine(int32_t line) = 0;
  virtual void showFileInfo(const std::string& path) = 0;
  virtual MenuSources menuSources() = 0;
  virtual EditorDialogs& dialogs() = 0;
};

}  // namespace zv::editor
