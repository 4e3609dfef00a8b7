#include "editor_state_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "win32/owners.h"

namespace zv::editor {
namespace {

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
  uint8_t header[kStateHeaderSize];
  encodeStateHeader(state, header);

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
  const char* reason = nullptr;
  std::optional<EditorState> decoded = decodeStateHeader(header, sizeof(header), &reason);
  if (!decoded) return fail(reason);
  EditorState state = *decoded;

  Playlist shown = mainList;
  if (state.ownsPlaylist) {
    if (!owned) return fail("no playlist to load into");
    if (plLoadFromHandle(owned, file.get()) != 1 || plGetCount(owned) == 0) return fail("its playlist does not load");
    shown = owned;
  }
  clampStateIndexes(state, shown ? plGetCount(shown) : 0);
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
