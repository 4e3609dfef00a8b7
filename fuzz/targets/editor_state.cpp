// The playlist editors' state files "ZORV0002" as readEditorState takes
// them: the header (decodeStateHeader), then for an editor owning its
// playlist the binary playlist behind it (the engine's plLoadFromHandle),
// and the indexes clamped to the list shown. A state read writes a header
// that reads back the same (the caption cut to leave its NUL).
#include <cstring>

#include "editor_state_file.h"
#include "fuzz_check.h"
#include "host_file.h"

using namespace zv::editor;

namespace {

bool sameState(const EditorState& a, const EditorState& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height && a.valueA == b.valueA &&
         a.byteB == b.byteB && a.ownsPlaylist == b.ownsPlaylist && a.caption == b.caption &&
         a.selected == b.selected && a.firstVisible == b.firstVisible && a.modified == b.modified;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* why = nullptr;
  std::optional<EditorState> state = decodeStateHeader(data, size, &why);
  if (!state) {
    ZV_FUZZ_CHECK(why && *why);
    return 0;
  }
  ZV_FUZZ_CHECK(state->caption.size() <= kStateCaptionSize);
  ZV_FUZZ_CHECK(state->caption.find('\0') == std::string::npos);

  uint8_t header[kStateHeaderSize];
  encodeStateHeader(*state, header);
  std::optional<EditorState> again = decodeStateHeader(header, sizeof header);
  EditorState cut = *state;
  cut.caption.resize(std::min(cut.caption.size(), kStateCaptionSize - 1));
  ZV_FUZZ_CHECK(again && sameState(*again, cut));

  // The main playlist of an editor that shows it: some lines, by the last
  // bytes' count, so that clamping meets lists of every length.
  int32_t count = int32_t(data[size - 1] % 8);
  Playlist owned = nullptr;
  if (state->ownsPlaylist) {
    zv::host::MemoryFile rest{data + kStateHeaderSize, size - kStateHeaderSize};
    owned = createPlaylist(0);
    count = plLoadFromHandle(owned, &rest) == 1 ? plGetCount(owned) : 0;
  }
  clampStateIndexes(*state, count);
  ZV_FUZZ_CHECK(state->selected == -1 || (state->selected >= 0 && state->selected < count));
  ZV_FUZZ_CHECK(state->firstVisible >= 0 && state->firstVisible <= std::max<int32_t>(count - 1, 0));
  if (owned) freePlaylist(owned);
  return 0;
}
