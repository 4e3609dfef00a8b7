// Menus built from definition texts: one item per line, caption "|" command;
// an empty line is a separator. A command beginning with "\" opens the menu
// of that name as a submenu, one beginning with "/" runs its command and
// offers the open choices for it as a submenu, and "*" (before either) ticks
// the item. Captions are localised texts ("key###default").
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zv {

struct MenuItem {
  enum class Kind { command, separator, submenu };
  Kind kind = Kind::command;
  std::string caption;
  std::string command;       // without its marks; for a submenu the menu's name
  bool checked = false;
  bool openChoices = false;  // "/": the command runs, and the open choices hang below it
  std::vector<MenuItem> children;
};

// One level: "\" and "/" items have no children yet.
std::vector<MenuItem> parseMenuDefinition(const std::string& text);

// The definition text of a menu by name, or nullopt for an unknown name.
using MenuSource = std::function<std::optional<std::string>(const std::string& name)>;
// The open choices offered below a "/" item for its command.
using OpenChoicesSource = std::function<std::string(const std::string& command)>;

// Parses `text` and fills every submenu from `menus` and every "/" item from
// `choices`, to a depth that a menu naming itself cannot exceed. An unknown
// submenu stays as an empty submenu.
std::vector<MenuItem> buildMenu(const std::string& text, const MenuSource& menus, const OpenChoicesSource& choices);

// "key###default" -> "default" (the caption without a translation).
std::string defaultText(const std::string& localised);

}  // namespace zv
