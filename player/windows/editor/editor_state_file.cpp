#include "editor_state_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "win32/owners.h"

namespace zv::editor {
namespace {

void put32(uint8_t* at, int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<uint8_t>(u >> (8 * i));
}

int32_t get32(const uint8_t* at) {
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(at[i]) << (8 * i);
  return static_cast<int32_t>(u);
}

bool writeAll(HANDLE file, const void* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(file, data, size, &written, nullptr) && written == size;
}

}  // namespace

std::string stateFileName(int number) {
  char name[16];
  std::snprintf(name, sizeof(name), "%8.8d", number);
  return name;
}

int stateFileNumber(const std::string& fileName) {
  if (fileName.size() != 8 || !std::all_of(fileName.begin(), fileName.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return -1;
  return std::atoi(fileName.c_str());
}

bool writeEditorState(const std::string& path, const EditorState& state, Playlist owned) {
  uint8_t header[kStateHeaderSize] = {};
  std::memcpy(header, kStateMagic, 8);
  put32(header + 8, state.left);
  put32(header + 12, state.top);
  put32(header + 16, state.width);
  put32(header + 20, state.height);
  put32(header + 24, state.valueA);
  header[28] = state.byteB;
  header[29] = state.ownsPlaylist ? 1 : 0;
  const size_t captionLength = std::min(state.caption.size(), kStateCaptionSize - 1);
  std::memcpy(header + 30, state.caption.data(), captionLength);
  put32(header + 542, state.selected);
  put32(header + 546, state.firstVisible);
  header[550] = state.modified ? 1 : 0;

  const std::string temporary = path + ".new";
  {
    UniqueFile file(CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    bool ok = writeAll(file.get(), header, sizeof(header));
    if (ok && state.ownsPlaylist) ok = owned && plSaveToHandle(owned, file.get()) == 1;
    if (!ok) {
      file.reset();
      DeleteFileA(temporary.c_str());
      return false;
    }
  }
  if (MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  DeleteFileA(temporary.c_str());
  return false;
}

std::optional<EditorState> readEditorState(const std::string& path, Playlist owned, Playlist mainList, std::string* why) {
  auto fail = [&](const char* reason) -> std::optional<EditorState> {
    if (why) *why = reason;
    return std::nullopt;
  };
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return fail("cannot be opened");
  uint8_t header[kStateHeaderSize];
  DWORD got = 0;
  if (!ReadFile(file.get(), header, sizeof(header), &got, nullptr) || got != sizeof(header))
    return fail("shorter than its header");
  if (std::memcmp(header, kStateMagic, 8) != 0) return fail("not a state file");
  if (header[29] > 1 || header[550] > 1) return fail("damaged flags");

  EditorState state;
  state.left = get32(header + 8);
  state.top = get32(header + 12);
  state.width = get32(header + 16);
  state.height = get32(header + 20);
  state.valueA = get32(header + 24);
  state.byteB = header[28];
  state.ownsPlaylist = header[29] == 1;
  // The caption may lack its terminator: it ends at the field's end.
  const char* caption = reinterpret_cast<const char*>(header + 30);
  state.caption.assign(caption, strnlen(caption, kStateCaptionSize));
  state.selected = get32(header + 542);
  state.firstVisible = get32(header + 546);
  state.modified = header[550] == 1;

  Playlist shown = mainList;
  if (state.ownsPlaylist) {
    if (!owned) return fail("no playlist to load into");
    if (plLoadFromHandle(owned, file.get()) != 1 || plGetCount(owned) == 0) return fail("its playlist does not load");
    shown = owned;
  }
  const int32_t count = shown ? plGetCount(shown) : 0;
  state.selected = state.selected < 0 || state.selected >= count ? -1 : state.selected;
  state.firstVisible = std::clamp<int32_t>(state.firstVisible, 0, std::max<int32_t>(count - 1, 0));
  return state;
}

std::vector<std::pair<std::string, int>> listStateFiles(const std::string& folder) {
  std::vector<std::pair<std::string, int>> files;
  WIN32_FIND_DATAA data;
  UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &data));
  if (!find) return files;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const int number = stateFileNumber(data.cFileName);
    if (number >= 0) files.emplace_back(folder + "\\" + data.cFileName, number);
  } while (FindNextFileA(find.get(), &data));
  std::sort(files.begin(), files.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
  return files;
}

void removeStaleStateFiles(const std::string& folder, const std::vector<int>& keep) {
  for (const auto& [path, number] : listStateFiles(folder))
    if (std::find(keep.begin(), keep.end(), number) == keep.end()) DeleteFileA(path.c_str());
}

}  // namespace zv::editor
