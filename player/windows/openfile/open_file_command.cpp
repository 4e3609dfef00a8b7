// "openfile": the main window restored, the "Open file" dialog over it, and
// what was chosen opened as one open operation. The two boxes and the folder
// last while the program runs.
#include "main_window.h"
#include "openfile/open_file_window.h"
#include "startup/shell_assoc.h"
#include "startup/tool_windows.h"
#include "zv_config.h"
#include "zv_paths.h"
#include "zv_playback.h"

namespace zv {
namespace {

struct Remembered {
  bool addToPlaylist = false, playOpened = true;
  std::string folder;
};
Remembered g_remembered;

// The extensions of the decoder libraries and the input kinds.
std::vector<std::string> playableExtensions() {
  std::vector<std::string> all;
  auto take = [&](const char* list) {
    for (std::string& ext : splitExtensions(list)) all.push_back(std::move(ext));
  };
  for (int32_t i = 0; i < decoderCount(); ++i)
    if (const ZvDecoderRec* rec = decoderInfoByNum(i)) take(rec->extensions);
  for (int32_t i = 0; i < pluginCount(); ++i)
    if (const ZvPluginRec* rec = pluginInfoByNum(i))
      if (rec->kindFlags & pfInput) take(rec->extensions);
  return all;
}

// Where the dialog starts: where it was last, else beside the file playing.
std::string startFolder(TMainWnd& main) {
  if (!g_remembered.folder.empty()) return g_remembered.folder;
  const std::string& playing = main.sequencer().curFileName();
  const size_t cut = playing.find_last_of('\\');
  if (cut != std::string::npos && isLocalFile(playing.c_str())) return playing.substr(0, cut);
  return main.dirs().root;
}

void openFiles(TMainWnd& main) {
  if (main.minimized()) main.restoreWindow();
  OpenFileOptions options;
  options.folder = startFolder(main);
  options.extensions = playableExtensions();
  if (main.displaySettings().newStyleOpen) options.quickFolders = defaultQuickFolders();
  options.addToPlaylist = g_remembered.addToPlaylist;
  options.playOpened = g_remembered.playOpened;
  options.translate = [&main](const char* localised) { return main.text(localised); };
  TOpenFileWnd dialog;
  if (!dialog.create(main.dirs().root, main.hwnd(), std::move(options))) return;
  const std::optional<OpenFileChoice> choice = dialog.runModal();
  g_remembered.folder = dialog.folder();
  if (!choice) return;
  g_remembered.addToPlaylist = choice->addToPlaylist;
  g_remembered.playOpened = choice->playOpened;
  if (choice->chosen.empty()) return;
  const OpenMode mode = choice->mode();
  Sequencer& seq = main.sequencer();
  seq.beginOpen(mode);
  for (const openfile::FolderEntry& item : choice->chosen) {
    seq.addItem(item.name, mode);
    if (openfile::goesToRecent(item.name, item.folder)) main.enterRecent(item.name);
  }
  seq.endOpen(mode);
}

[[maybe_unused]] const bool registered = registerToolWindow("openfile", "", openFiles);

}  // namespace
}  // namespace zv
