// TPLEditorWnd: the playlist editor, a sizeable frame window of the program's
// family. It shows one playlist (its own, or the player's main playlist) in a
// virtual list view (only the rows on screen are ever asked for, so 100 000
// lines cost what a page costs) drawn by the window itself: the tree
// indented by level, the playing line, selection and the line under the
// mouse in the main skin's colours. Below the list the quick search bar.
// The decisions live in the plain units beside it (columns, rules, edits,
// menu, state file); this class translates messages into them.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "editor_header.h"
#include "editor_host.h"
#include "editor_palette.h"
#include "editor_rules.h"
#include "editor_state_file.h"
#include "frame_window.h"
#include "own_controls.h"

namespace zv::editor {

class EditorSet;

// The block a drag of lines carries: "ZORVAKPL", then the source editor's
// number and the serial that tells that editor apart from a later one of the
// same number (a receiver looks both up among the live editors).
struct LinesDragData {
  char magic[8];
  int32_t editor;
  uint32_t serial;
};
inline constexpr char kDragFormatName[] = "ZORVAKPL";

// The registry value of a column width ("editor%d_col%d").
std::string columnWidthValueName(int editor, int column);

class TPLEditorWnd final : public ui::TFrameWnd {
 public:
  // `owned` (taken, freed with the editor) or null for the main playlist.
  TPLEditorWnd(EditorSet& set, EditorHost& host, int number, uint32_t serial, Playlist owned);
  ~TPLEditorWnd() override;

  bool open(const std::string& caption, const EditorState* restored = nullptr);

  int number() const { return number_; }
  uint32_t serial() const { return serial_; }
  Playlist playlist() const { return pl_; }
  bool ownsPlaylist() const { return owns_; }
  bool modified() const { return modified_; }
  void setModified(bool on) { modified_ = on; }
  HWND listWindow() const { return list_.get(); }
  HWND searchWindow() const { return search_.get(); }
  int32_t currentLine() const;
  std::vector<int32_t> selection() const;
  void selectOnly(int32_t line, bool centre);
  void clearSelection();
  int32_t topLine() const;
  // Redraws a line across the whole width of the list.
  void redrawLine(int32_t line);
  // The state file record of this editor.
  EditorState state() const;

  // Runs an editor command ("del", "add_group", "add:<location>", ...).
  void runCommand(const std::string& command);
  // Saves as the saving rules say; false when nothing was written (cancelled,
  // refused or failed; an empty list counts as done).
  bool save();
  // Closing without the prompt (program exit).
  void closeQuietly();

  // The main playlist changed outside (re-indexed, descriptions): redraw.
  void mainListChanged();
  // This editor of the main list gets a copy of it to own.
  void takeCopyOfMain();

  // Drops: the block of a lines drag at a point of the list (client
  // coordinates); false when refused. Shell files likewise.
  bool dropLines(const LinesDragData& data, POINT at, bool copy);
  bool dropFiles(const std::vector<std::string>& files, POINT at);
  // The target line and level a drop at that point would use.
  std::pair<int32_t, int32_t> dropPlace(POINT at) const;

  // The quick search keys (Up, Down, Esc) for the search box; the message
  // loop calls translateEditorMessage for them.
  bool searchKey(UINT vk);
  static bool translateEditorMessage(MSG& msg);

  const EditorPalette& palette() const { return palette_; }
  void applySkin();

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
  void layout() override;
  void paintSkin(HDC dc, int width, int height, const RECT& area) override;

 private:
  LRESULT onNotify(NMHDR* header);
  LRESULT onCustomDraw(NMLVCUSTOMDRAW* draw);
  void paintRow(HDC dc, int32_t line);
  void onListKey(WORD vk);
  void updateHot(bool overList);
  void onContextMenu(int32_t line, POINT screen);
  void onInfoReady(WPARAM wParam, LPARAM lParam);
  bool onClose();
  void createChildren();
  void setupColumns();
  void storeColumnWidths();
  void refresh();
  void queueDescriptions(int32_t first, int32_t count);
  void queueSlice();
  void edit(const std::function<void()>& change, bool keepUndo);
  void addLocation(const std::string& location, AddWhere where);
  void addFiles();
  void addDirectory();
  void addGroup();
  void deleteSelection();
  void play();
  void showInfo();
  void beginDescEdit();
  void endDescEdit(const char* text);
  void sortGroup(int32_t mode);
  void undo();
  void findCurrent();
  void searchTyped();
  void beginDrag();
  void dragMove(POINT screen);
  void dragEnd(POINT screen, bool drop);
  void setDropMarker(int32_t line, int32_t level);
  int32_t focusLine() const;
  int32_t hitLine(POINT at, bool* upperHalf = nullptr) const;
  int rowHeight() const;
  int scrollX() const;
  bool saveTo(const std::string& target);
  bool saveAsked(bool flat);
  // This editor edits `file` from now on (its own playlist of that file).
  void editFile(const std::string& file);
  std::string tr(const char* text) const;

  EditorSet& set_;
  EditorHost& host_;
  int number_;
  uint32_t serial_;
  Playlist pl_;
  bool owns_;
  bool modified_ = false;
  Playlist undo_ = nullptr;
  UniqueWindow list_, search_;
  EditorHeader* header_ = nullptr;
  int headerScroll_ = 0;
  ui::TZText* searchLabel_ = nullptr;
  ui::TZButton* findButton_ = nullptr;
  EditorPalette palette_{};
  UniqueFont boldFont_;
  UniqueBrush backBrush_;
  std::string dispText_;  // the text handed to the list view last
  int32_t hot_ = -1;
  int32_t queueNext_ = -1, queueEnd_ = -1;  // lines still to hand to the scanner
  bool queuedAny_ = false;
  bool editingByKey_ = false;
  int32_t editLine_ = -1;
  bool dragging_ = false, closing_ = false;
  TPLEditorWnd* dropTarget_ = nullptr;  // the editor under the mouse while dragging
  int32_t markerLine_ = -1, markerLevel_ = 0;
  std::vector<std::string> menuCommands_;  // dynamic identifiers of the last menu
};

}  // namespace zv::editor
