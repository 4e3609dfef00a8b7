#include "editor_set.h"

#include <windows.h>

#include <algorithm>

#include "editor_columns.h"

namespace zv::editor {
namespace {

// To the debugger: what was skipped and why.
void writeDiagnosticLine(const std::string& text) { OutputDebugStringA((text + "\n").c_str()); }

}  // namespace

EditorSet::EditorSet(EditorHost& host) : host_(host), lang_(host.rootDir() + "\\lang") {
  lang_.setLanguage(host.rootDir() + "\\lang", host.language(), "pleditor.lng");
}

EditorSet::~EditorSet() {
  for (TPLEditorWnd* editor : editors()) editor->closeQuietly();
  editors_.clear();
  gone_.clear();
  lang_.writeBack();
}

std::string EditorSet::text(const char* localised) { return lang_.translate(localised ? localised : ""); }

void EditorSet::bury() { gone_.clear(); }

TPLEditorWnd* EditorSet::add(std::optional<int> number, Playlist owned, const std::string& caption,
                             const EditorState* state) {
  bury();
  if (!number) {
    // Every number is in use: a new editor would share one with a live
    // editor (its columns and its state file), so none is opened.
    if (owned) freePlaylist(owned);
    host_.dialogs().ask(nullptr, text("TooManyEditors###No more playlist editors can be opened.").c_str(),
                        MB_OK | MB_ICONWARNING);
    return nullptr;
  }
  auto editor = std::make_unique<TPLEditorWnd>(*this, host_, *number, nextSerial_++, owned);
  TPLEditorWnd* made = editor.get();
  editors_.push_back(std::move(editor));
  if (!made->open(caption, state)) {
    numbers_.release(*number);
    editors_.erase(std::find_if(editors_.begin(), editors_.end(), [&](const auto& e) { return e.get() == made; }));
    return nullptr;
  }
  return made;
}

TPLEditorWnd* EditorSet::openMain() {
  return add(numbers_.take(), nullptr, text("PlEditorCurrent###Current playlist"), nullptr);
}

TPLEditorWnd* EditorSet::openOwned(Playlist pl, const std::string& caption) {
  return add(numbers_.take(), pl, caption, nullptr);
}

TPLEditorWnd* EditorSet::openLocation(const std::string& location) {
  Playlist pl = createPlaylist(-1);
  std::string caption;
  if (location.empty()) {
    // A new playlist: a heading as its root, saved where the user says.
    PlaylistLine root{};
    root.flags = lfHeading | lfGroup;
    caption = text("NewPlaylist###New playlist");
    plAddLine(pl, &root, "", caption.c_str(), "");
  } else {
    plAddFile(pl, location.c_str(), 0);
    if (plGetCount(pl) == 0) {
      PlaylistLine root{};
      root.flags = plGetFlags(location.c_str());
      plAddLine(pl, &root, location.c_str(), "", "");
    }
    caption = cellText(pl, 0, colName);
    if (caption.empty()) caption = location;
  }
  return openOwned(pl, caption);
}

TPLEditorWnd* EditorSet::find(int number, uint32_t serial) const {
  for (const auto& e : editors_)
    if (e->number() == number && e->serial() == serial && e->hwnd()) return e.get();
  return nullptr;
}

TPLEditorWnd* EditorSet::byListWindow(HWND list) const {
  if (!list) return nullptr;
  for (const auto& e : editors_)
    if (e->listWindow() == list || e->hwnd() == list) return e.get();
  return nullptr;
}

std::vector<TPLEditorWnd*> EditorSet::editors() const {
  std::vector<TPLEditorWnd*> out;
  for (const auto& e : editors_) out.push_back(e.get());
  return out;
}

void EditorSet::mainListChanged() {
  for (const auto& e : editors_) e->mainListChanged();
}

void EditorSet::detachMainEditors(TPLEditorWnd* except) {
  for (const auto& e : editors_)
    if (e.get() != except && !e->ownsPlaylist()) e->takeCopyOfMain();
}

void EditorSet::closed(TPLEditorWnd* editor) {
  auto it = std::find_if(editors_.begin(), editors_.end(), [&](const auto& e) { return e.get() == editor; });
  if (it == editors_.end()) return;
  numbers_.release(editor->number());
  // The object is inside its own window procedure now: freed later.
  gone_.push_back(std::move(*it));
  editors_.erase(it);
}

void EditorSet::saveAndCloseAll(const std::string& folder) {
  CreateDirectoryA(folder.c_str(), nullptr);
  std::vector<int> written;
  for (const auto& e : editors_) {
    const std::string path = folder + "\\" + stateFileName(e->number());
    if (writeEditorState(path, e->state(), e->ownsPlaylist() ? e->playlist() : nullptr))
      written.push_back(e->number());
    else
      writeDiagnosticLine("Editor state not written: " + path);
  }
  // Only now that the new files are there do the old ones go.
  removeStaleStateFiles(folder, written);
  for (TPLEditorWnd* e : editors()) e->closeQuietly();
  bury();
}

int EditorSet::restoreAll(const std::string& folder) {
  int restored = 0;
  for (const auto& [path, number] : listStateFiles(folder)) {
    if (number >= kMaxEditors || numbers_.taken(number)) continue;
    Playlist owned = createPlaylist(-1);
    std::string why;
    std::optional<EditorState> state = readEditorState(path, owned, host_.mainPlaylist(), &why);
    if (!state) {
      freePlaylist(owned);
      writeDiagnosticLine("Editor state skipped: " + path + " (" + why + ")");
      continue;
    }
    if (!state->ownsPlaylist) {
      freePlaylist(owned);
      owned = nullptr;
    }
    numbers_.takeExact(number);
    if (add(number, owned, state->caption, &*state)) ++restored;
  }
  return restored;
}

}  // namespace zv::editor
