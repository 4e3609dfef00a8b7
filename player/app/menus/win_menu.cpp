#include "menus/win_menu.h"

namespace zv {
namespace {

void fill(HMENU menu, const std::vector<MenuItem>& items, const std::function<std::string(const std::string&)>& tr,
          PopupMenu& out) {
  for (const MenuItem& item : items) {
    if (item.kind == MenuItem::Kind::separator) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string caption = tr(item.caption);
    UINT flags = MF_STRING | (item.checked ? MF_CHECKED : 0);
    if (item.kind == MenuItem::Kind::submenu || item.openChoices) {
      UniqueMenu sub(CreatePopupMenu());
      fill(sub.get(), item.children, tr, out);
      // The parent takes the submenu over and destroys it with itself.
      AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.release()), caption.c_str());
      continue;
    }
    out.commands.push_back(item.command);
    UINT_PTR id = out.firstId + out.commands.size() - 1;
    AppendMenuA(menu, flags | (item.command.empty() ? MF_GRAYED : 0), id, caption.c_str());
  }
}

}  // namespace

std::string PopupMenu::commandOf(unsigned id) const {
  if (id < firstId || id - firstId >= commands.size()) return "";
  return commands[id - firstId];
}

PopupMenu buildPopupMenu(const std::vector<MenuItem>& items,
                         const std::function<std::string(const std::string&)>& translate, unsigned firstId) {
  PopupMenu out;
  out.firstId = firstId;
  out.menu.reset(CreatePopupMenu());
  fill(out.menu.get(), items, translate ? translate : defaultText, out);
  return out;
}

}  // namespace zv
