// What the files of TPLEditorWnd share: layout constants, the scanner tag
// of an editor and small text helpers.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace zv::editor::detail {

constexpr int kListId = 100, kSearchId = 101;
constexpr int kBarHeight = 30, kHeaderHeight = 20;
constexpr UINT kQueueMessage = WM_APP + 17;
constexpr int32_t kQueueSlice = 200;
constexpr UINT_PTR kHoverTimer = 1;
// Every editor asks the scanner under a tag of its own, so that one editor
// closing cancels only its own queued requests.
constexpr int32_t kEditorTagBase = -666;
inline int32_t queryTag(int number) { return kEditorTagBase - number; }

// Releases a shell drop block.
struct DropBlock {
  HDROP drop;
  ~DropBlock() { DragFinish(drop); }
};

inline std::string windowText(HWND window) {
  const int n = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(std::max(n, 0)) + 1, '\0');
  GetWindowTextA(window, text.data(), n + 1);
  text.resize(std::strlen(text.c_str()));
  return text;
}

// "%s" in a translated text replaced by `value` (a translation is never
// used as a printf format).
inline std::string withValue(std::string text, const std::string& value) {
  const size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, value);
  return text;
}


}  // namespace zv::editor::detail
