#include "menus/menu_model.h"

namespace zv {
namespace {

constexpr int kMaxDepth = 8;

MenuItem parseLine(const std::string& line) {
  MenuItem item;
  size_t bar = line.find('|');
  item.caption = line.substr(0, bar);
  std::string command = bar == std::string::npos ? std::string() : line.substr(bar + 1);
  if (!command.empty() && command[0] == '*') {
    item.checked = true;
    command.erase(0, 1);
  }
  if (!command.empty() && command[0] == '\\') {
    item.kind = MenuItem::Kind::submenu;
    command.erase(0, 1);
  } else if (!command.empty() && command[0] == '/') {
    item.openChoices = true;
    command.erase(0, 1);
  }
  item.command = command;
  return item;
}

void expand(std::vector<MenuItem>& items, const MenuSource& menus, const OpenChoicesSource& choices, int depth) {
  if (depth >= kMaxDepth) return;
  for (MenuItem& item : items) {
    std::optional<std::string> text;
    if (item.kind == MenuItem::Kind::submenu && menus)
      text = menus(item.command);
    else if (item.openChoices && choices)
      text = choices(item.command);
    if (!text) continue;
    item.children = parseMenuDefinition(*text);
    expand(item.children, menus, choices, depth + 1);
  }
}

}  // namespace

std::vector<MenuItem> parseMenuDefinition(const std::string& text) {
  std::vector<MenuItem> items;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) {
      // A break at the very end closes the last line; it is no separator.
      if (end != std::string::npos || start < text.size()) items.push_back(MenuItem{MenuItem::Kind::separator});
    } else {
      items.push_back(parseLine(line));
    }
    if (end == std::string::npos) break;
    start = end + 1;
    if (start == text.size()) break;
  }
  return items;
}

std::vector<MenuItem> buildMenu(const std::string& text, const MenuSource& menus, const OpenChoicesSource& choices) {
  std::vector<MenuItem> items = parseMenuDefinition(text);
  expand(items, menus, choices, 0);
  return items;
}

std::string defaultText(const std::string& localised) {
  size_t at = localised.find("###");
  return at == std::string::npos ? localised : localised.substr(at + 3);
}

}  // namespace zv
