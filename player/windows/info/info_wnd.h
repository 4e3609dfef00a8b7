// TInfoWnd: the file information window ("File information"). Four pages on
// vertical tabs: the lyrics (a memo saved to the lyrics file), the ID3 tag,
// the ID3v2 frames (with an editor per frame kind) and what the playback
// plug-in tells about the file. Created once, hidden and shown again for
// other files; pending changes are saved before another file is shown and
// when the window goes.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "child_controls.h"
#include "frame_editor_wnd.h"
#include "frame_window.h"
#include "id3_values.h"
#include "id3v2_lines.h"
#include "own_controls.h"
#include "text_fields_wnd.h"
#include "vertical_tabs.h"
#include "window_lng.h"
#include "zvid3.h"

namespace zv::info {

class TInfoWnd : public ui::TFrameWnd {
 public:
  enum Page { pageLyrics = 0, pageId3 = 1, pageId3v2 = 2, pageFileInfo = 3 };
  enum Capability { capId3 = 1, capId3v2 = 2 };

  TInfoWnd(std::string rootDir, std::string language);
  ~TInfoWnd() override;

  // Creates the window (hidden) with its frame, pages and translations.
  bool create(HWND owner);
  // Saves the pending changes, takes the path and loads every page; while
  // the window is busy (saving) the path waits and is shown afterwards.
  void showFile(const std::string& path);
  // Saves what changed on the pages (lyrics, ID3, ID3v2).
  void saveChanges();
  const std::string& path() const { return path_; }
  const std::string& pendingPath() const { return pendingPath_; }
  // True while a frame editor or the text-field grid is open: a file shown
  // meanwhile waits (the editor holds a frame of the loaded tag).
  bool busy() const { return busy_; }

  // Whether the window follows the player's current file: set when the
  // main window opens it for its current file, cleared when another window
  // (a playlist editor) shows a line of its own in it.
  void setFollowsCurrent(bool on) { followsCurrent_ = on; }
  bool followsCurrent() const { return followsCurrent_; }
  // The player's current file changed: shown (from the message loop) when
  // the window follows it and is open; pending edits of the file shown are
  // saved first.
  void currentFileChanged(const std::string& path);
  static constexpr UINT kMsgFollowCurrent = WM_APP + 1;

  void selectPage(int page);
  int page() const { return tabs_ ? tabs_->selected() : 0; }

  // A control of the pages by its published name ("lyrics", "title",
  // "artist", "album", "year", "track", "comment", "genre", "id3v2list",
  // "finfo"), or null.
  HWND control(const std::string& name) const;
  // A button of the pages ("remove", "id3v2add", "id3v2del", "id3v2text").
  ui::TZButton* button(const std::string& name) const;
  // Runs a page command: the Add menu's "apic", "geob", "ipls", "comm",
  // "uslt", "user", "@id3", or any frame id; "del", "text", "remove".
  void runCommand(const std::string& command);
  // Opens the editor of the ID3v2 list's selected line.
  void editSelectedFrame();

  uint32_t capabilities() const { return caps_; }
  const std::string& lyricsPath() const { return lyricsPath_; }
  ZvId3v2Tag tag() const { return tag_; }
  const std::vector<FrameLine>& frameLines() const { return lines_; }
  bool id3Dirty() const { return id3Dirty_; }
  bool id3v2Dirty() const { return id3v2Dirty_; }
  const std::vector<std::string>& genres() const { return genres_; }

  // Seams for tests: how frame editors run (modal by default) and how
  // messages reach the user (a message box by default).
  void setEditorRunner(EditorRunner runner) { runner_ = std::move(runner); }
  void setTextFieldsRunner(std::function<bool(TTextFieldsWnd&, HWND)> runner) {
    textFieldsRunner_ = std::move(runner);
  }
  void setMessageSink(std::function<void(const std::string&)> sink) { sink_ = std::move(sink); }

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  void paintOver(HDC dc, int width, int height) override;

 private:
  void buildPages();
  void translateTexts();
  void showPage(int page);
  void loadPages();
  void loadLyrics();
  void loadFileInfo();
  void loadId3();
  void loadId3v2();
  void rebuildFrameList(int select);
  void fillId3(const Id3Values& v);
  Id3Values id3FromPage() const;
  void enableId3(bool on);
  void enableId3v2(bool on);
  void saveLyrics();
  void saveId3();
  void saveId3v2();
  void removeId3();
  void addFrame(const std::string& id);
  void deleteSelectedFrame();
  void fromId3Tags();
  void editTextFields();
  bool editFrame(ZvId3v2Frame frame);
  void showPending();
  void followCurrent();
  void savePages();
  void showAddMenu();
  void onCommand(int id, int code, HWND control);
  void onInfoReady(const MSG& m);
  void drawInfoLine(const DRAWITEMSTRUCT& item);
  void report(const std::string& localised);
  std::string tr(const std::string& key, const std::string& text);
  int selectedLine() const;
  HWND addControl(const std::string& name, const char* cls, DWORD style, const RECT& r);
  ui::TZText& addLabel(int page, const std::string& key, const std::string& text, const RECT& r);

  std::string rootDir_, language_;
  std::string path_, pendingPath_, lyricsPath_;
  bool busy_ = false, filling_ = false;
  bool followsCurrent_ = false;
  bool followPosted_ = false;
  std::string followPath_;
  bool hasPending_ = false;  // pendingPath_ waits (it may be empty: no file)
  bool id3Dirty_ = false, id3v2Dirty_ = false, id3v2Loaded_ = false;
  uint32_t caps_ = 0;
  ZvId3v2Tag tag_ = nullptr;
  std::vector<FrameLine> lines_;
  std::vector<std::string> genres_;
  std::unique_ptr<ui::WindowLng> lng_;
  TVerticalTabs* tabs_ = nullptr;
  std::map<std::string, HWND> controls_;
  std::map<std::string, int> controlPage_;
  std::map<std::string, ui::TZButton*> buttons_;
  std::vector<std::pair<int, ui::UiElement*>> pageElements_;
  UniqueFont infoFont_, infoBold_;
  ChildColors colors_;
  EditorRunner runner_ = runEditorModal;
  std::function<bool(TTextFieldsWnd&, HWND)> textFieldsRunner_ = runTextFieldsModal;
  std::function<void(const std::string&)> sink_;
  int nextId_ = 200;
};

}  // namespace zv::info
