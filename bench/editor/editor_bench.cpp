// The playlist editor on a 100 000-line playlist: the time from opening the
// window to its first painted page and the time per page scrolled, against
// the same on a 100-line playlist (the list view is virtual: only the rows on
// screen are drawn, so both should cost about the same).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "benchkit.h"
#include "editor_set.h"

using namespace zv;

namespace {

class BenchHost final : public editor::EditorHost {
 public:
  std::string rootDir() override { return ui::uiRootDir(); }
  std::string language() override { return "en"; }
  const ui::TSkin* mainSkin() override { return nullptr; }
  Playlist mainPlaylist() override { return main_; }
  int32_t currentLine() override { return -1; }
  void editMainPlaylist(const std::function<void()>& edit) override { edit(); }
  void replaceMainPlaylist(Playlist) override {}
  void playMainLine(int32_t) override {}
  void showFileInfo(const std::string&) override {}
  editor::MenuSources menuSources() override { return {}; }
  editor::EditorDialogs& dialogs() override { return editor::systemEditorDialogs(); }
  ~BenchHost() override { freePlaylist(main_); }

 private:
  Playlist main_ = createPlaylist(-1);
};

// A root group and `lines` files in groups of 12, with descriptions and tag
// information as the scanner leaves them (`described`), or bare names.
Playlist makeList(int lines, bool described) {
  Playlist pl = createPlaylist(-1);
  PlaylistLine rec{};
  rec.flags = lfGroup | lfDirectory;
  plAddLine(pl, &rec, "Z:\\big", "big", "");
  for (int i = 0; i < lines; ++i) {
    if (i % 12 == 0) {
      PlaylistLine g{};
      g.flags = lfHeading | lfGroup;
      g.level = 1;
      plAddLine(pl, &g, "", ("Album " + std::to_string(i / 12)).c_str(), "");
    }
    PlaylistLine f{};
    f.level = 2;
    f.time = described ? 200000 + i : 0;
    f.size = described ? 5000 : 0;
    const std::string name = "Z:\\big\\song" + std::to_string(i) + ".mp3";
    const std::string info = "format=MPEG 1 Layer 3\ntitle=Song " + std::to_string(i) + "\nartist=Someone\ntrack=" +
                             std::to_string(i % 12 + 1) + "\n";
    plAddLine(pl, &f, name.c_str(), described ? ("Song " + std::to_string(i)).c_str() : "",
              described ? info.c_str() : "");
  }
  return pl;
}

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

struct Figures {
  double firstPaint, perPage;
};

Figures measure(editor::EditorSet& set, int lines, bool described) {
  Playlist pl = makeList(lines, described);
  const double start = zvbench::now();
  editor::TPLEditorWnd* e = set.openOwned(pl, "bench");
  if (!e) return {0, 0};
  UpdateWindow(e->listWindow());
  const double firstPaint = zvbench::now() - start;
  const int page = ListView_GetCountPerPage(e->listWindow());
  int row = 16;
  RECT r{};
  if (ListView_GetItemRect(e->listWindow(), 0, &r, LVIR_BOUNDS)) row = r.bottom - r.top;
  int direction = 1;
  const double perPage = zvbench::secondsPerItem([&](int64_t n) {
    for (int64_t i = 0; i < n; ++i) {
      const int top = ListView_GetTopIndex(e->listWindow());
      if (top + 2 * page >= ListView_GetItemCount(e->listWindow())) direction = -1;
      if (top < page) direction = 1;
      ListView_Scroll(e->listWindow(), 0, direction * page * row);
      UpdateWindow(e->listWindow());
    }
  });
  e->closeQuietly();
  pump();
  return {firstPaint, perPage};
}

}  // namespace

int main() {
  BenchHost host;
  editor::EditorSet set(host);
  // The first window of the process also pays for its classes and fonts.
  const Figures warmUp = measure(set, 100, true);
  const Figures small = measure(set, 100, true);
  if (warmUp.firstPaint == 0 || small.firstPaint == 0) {
    std::printf("editor: no window (no display)\n");
    return 0;
  }
  const Figures big = measure(set, 100000, true);
  const Figures bare = measure(set, 100000, false);
  zvbench::report("editor open to first paint, 100 lines", small.firstPaint * 1e3, "ms");
  zvbench::report("editor open to first paint, 100 000 lines", big.firstPaint * 1e3, "ms");
  zvbench::report("  ratio to 100 lines", big.firstPaint / small.firstPaint, "x");
  zvbench::report("editor open to first paint, 100 000 lines waiting for the scanner", bare.firstPaint * 1e3, "ms");
  zvbench::report("editor page scrolled, 100 lines", small.perPage * 1e3, "ms");
  zvbench::report("editor page scrolled, 100 000 lines", big.perPage * 1e3, "ms");
  zvbench::report("  ratio to 100 lines", big.perPage / small.perPage, "x");
  return 0;
}
