// The editors' state files: "<user dir>\editors\%8.8d" (the editor number),
// written at exit and turned back into editors at the next start. Packed,
// little-endian:
//   0  8   "ZORV0002"
//   8  16  left, top, width, height (int32 each)
//   24 4   state value A: 1 when the window is rolled up
//   28 1   state byte B: 1 when the window stays on top
//   29 1   owns its playlist (0 or 1)
//   30 512 caption, NUL-terminated
//   542 4  selected line
//   546 4  first visible line
//   550 1  modified (0 or 1)
//   551    only when it owns its playlist: the binary playlist (plSaveToHandle)
// Reading trusts nothing: short files, a caption without its NUL, indexes
// outside the list and a playlist that does not load are all handled.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "zv_playlist.h"

namespace zv::editor {

inline constexpr char kStateMagic[] = "ZORV0002";
inline constexpr size_t kStateHeaderSize = 551, kStateCaptionSize = 512;
inline constexpr int kMaxEditors = 1024;

struct EditorState {
  int32_t left = 0, top = 0, width = 0, height = 0;
  int32_t valueA = 0;
  uint8_t byteB = 0;
  bool ownsPlaylist = false;
  std::string caption;
  int32_t selected = -1, firstVisible = 0;
  bool modified = false;
};

// The header's bytes (kStateHeaderSize) of a state; a caption longer than
// the field is cut to leave its NUL.
void encodeStateHeader(const EditorState& state, uint8_t* header);
// The state in a header of `size` bytes; nullopt (with the reason in `why`)
// for a short header, another magic or flags other than 0 and 1.
std::optional<EditorState> decodeStateHeader(const uint8_t* header, size_t size, const char** why = nullptr);
// The selection (or -1) and the first visible line held inside a list of
// `count` lines.
void clampStateIndexes(EditorState& state, int32_t count);

// The file name of an editor number ("00000007").
std::string stateFileName(int number);
// The editor number of a state file name (eight decimal digits), or -1.
int stateFileNumber(const std::string& fileName);

// Writes one state file (through a temporary file moved into place); `owned`
// is written when the state says the editor owns it. False on failure.
bool writeEditorState(const std::string& path, const EditorState& state, Playlist owned);

// Reads one state file; an owned playlist is loaded into `owned` (which must
// be given then). nullopt (with the reason in `why`) for a file that is not a
// valid state file. The indexes come back clamped to the playlist `shown`
// (owned, or the main playlist for an editor of it).
std::optional<EditorState> readEditorState(const std::string& path, Playlist owned, Playlist mainList,
                                           std::string* why = nullptr);

// The state files in `folder` (name and number), in ascending number.
std::vector<std::pair<std::string, int>> listStateFiles(const std::string& folder);
// Deletes the state files in `folder` whose number is not in `keep` (only
// names of eight decimal digits); called after the new files are written.
void removeStaleStateFiles(const std::string& folder, const std::vector<int>& keep);

}  // namespace zv::editor
