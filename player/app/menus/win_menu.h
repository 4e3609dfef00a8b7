// Turns a menu model into a real popup menu. Item identifiers start at
// `firstId`; the commands they stand for are collected so that the chosen
// identifier (TrackPopupMenu with TPM_RETURNCMD) maps back to its command.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "menus/menu_model.h"
#include "win32/owners.h"

namespace zv {

struct PopupMenu {
  UniqueMenu menu;
  std::vector<std::string> commands;  // identifier firstId + i runs commands[i]
  unsigned firstId = 1;
  // The command of a chosen identifier; "" for 0 (cancelled) or unknown.
  std::string commandOf(unsigned id) const;
};

PopupMenu buildPopupMenu(const std::vector<MenuItem>& items,
                         const std::function<std::string(const std::string&)>& translate, unsigned firstId = 1);

}  // namespace zv
