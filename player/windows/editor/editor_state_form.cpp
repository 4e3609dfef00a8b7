// The state file's header as bytes and back: pure, so that the host build
// can fuzz it; editor_state_file.cpp reads and writes the files.
#include <algorithm>
#include <cstring>

#include "editor_state_file.h"

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

}  // namespace

void encodeStateHeader(const EditorState& state, uint8_t* header) {
  std::memset(header, 0, kStateHeaderSize);
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
}

std::optional<EditorState> decodeStateHeader(const uint8_t* header, size_t size, const char** why) {
  auto fail = [&](const char* reason) -> std::optional<EditorState> {
    if (why) *why = reason;
    return std::nullopt;
  };
  if (!header || size < kStateHeaderSize) return fail("shorter than its header");
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
  return state;
}

void clampStateIndexes(EditorState& state, int32_t count) {
  state.selected = state.selected < 0 || state.selected >= count ? -1 : state.selected;
  state.firstVisible = std::clamp<int32_t>(state.firstVisible, 0, std::max<int32_t>(count - 1, 0));
}

}  // namespace zv::editor
