// A small modal question of the settings windows: a prompt, a one-line edit,
// "OK" and "Cancel" in a dialog frame. Empty when cancelled.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace zv::setupui {

std::optional<std::string> askText(HWND owner, const std::string& root, const std::string& title,
                                   const std::string& prompt);

}  // namespace zv::setupui
