// The system's save dialog with the editor's four option boxes ("lsd2")
// below its file name: an explorer-style child template built in memory,
// whose hook shows the second and the fourth box only while the box above
// is checked and reads the boxes back when the user confirms.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "editor_save_options.h"

namespace zv::editor {

// The identifiers of the four boxes in the dialog, in the order of
// SaveOptions (tests find them by these).
inline constexpr int kSaveOptionIds[4] = {1101, 1102, 1103, 1104};

// `filter` as "a|b|c|d"; `texts` the four captions. nullopt when cancelled.
std::optional<std::string> runSaveOptionsDialog(HWND owner, const std::string& filter, const char* defaultExtension,
                                                SaveOptions& options, const std::vector<std::string>& texts);

}  // namespace zv::editor
