#include "main_editor_host.h"

#include <windows.h>

#include "commands/command_table.h"
#include "main_window.h"

namespace zv {

std::string MainEditorHost::rootDir() { return wnd_.dirs().root; }
std::string MainEditorHost::language() { return wnd_.language(); }
const ui::TSkin* MainEditorHost::mainSkin() { return wnd_.skin(); }
Playlist MainEditorHost::mainPlaylist() { return wnd_.currentPlaylist(); }
int32_t MainEditorHost::currentLine() { return wnd_.sequencer().curFileN(); }

void MainEditorHost::editMainPlaylist(const std::function<void()>& edit) { wnd_.sequencer().editPlaylist(edit); }

void MainEditorHost::mainLineTextChanged(int32_t line) { wnd_.lineTextChanged(line); }

void MainEditorHost::replaceMainPlaylist(Playlist pl) {
  Playlist main = wnd_.currentPlaylist();
  if (pl == main) return;
  wnd_.sequencer().editPlaylist([&] { plCopy(main, pl); });
}

void MainEditorHost::playMainLine(int32_t line) {
  Sequencer& seq = wnd_.sequencer();
  seq.setPlayIntent(true);
  seq.selectLine(line, false);
  seq.play();
}

// The editor's line goes to the file information window, which keeps it
// (it no longer follows the current file).
void MainEditorHost::showFileInfo(const std::string& path) { wnd_.showInfoWindow(path); }

editor::MenuSources MainEditorHost::menuSources() {
  editor::MenuSources sources;
  const DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) continue;
    const char root[] = {static_cast<char>('A' + i), ':', '\\', 0};
    if (GetDriveTypeA(root) == DRIVE_CDROM) sources.cdDrives.push_back(root[0]);
  }
  for (Playlist pl : {wnd_.recent(), wnd_.favorites()}) {
    auto& into = pl == wnd_.recent() ? sources.recent : sources.favorites;
    if (!pl) continue;
    for (int32_t i = 0; i < plGetCount(pl); ++i) {
      const PlaylistLine* rec = plGetRec(pl, i);
      if (rec && rec->level == 0 && plGetName(pl, i)[0]) into.emplace_back(plGetName(pl, i));
    }
  }
  return sources;
}

}  // namespace zv
