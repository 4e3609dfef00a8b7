#include "cddb_wnd.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "control_art.h"
#include "name_prompt_wnd.h"
#include "zv_cdaudio.h"
#include "zv_plugins.h"
#include "help_request.h"

namespace zv::cddb {

namespace {

const int kClientWidth = 443, kClientHeight = 353;
const int kDiskId = 300, kTrackId = 301;
// Columns: the name is the item's own text, so the list view's label
// editor edits it; the display order puts "#" first.
enum { colName = 0, colNumber = 1, colTime = 2 };

const char* const kMenuItems[] = {"Sort by number|number", "Sort by name|name",
                                  "Reverse|rev",           "Randomize|rand",
                                  "",                      "Reset|reset",
                                  "",                      "Find in Windows CD database|query"};

std::string textPart(const std::string& item) { return item.substr(0, item.find('|')); }
std::string commandPart(const std::string& item) {
  const size_t bar = item.find('|');
  return bar == std::string::npos ? std::string() : item.substr(bar + 1);
}

}  // namespace

TCDDBWnd::TCDDBWnd(std::string rootDir, std::string language)
    : TFrameWnd("cddb", ui::FrameKind::fixed), rootDir_(std::move(rootDir)), language_(std::move(language)) {}

TCDDBWnd::~TCDDBWnd() {
  if (hwnd()) {
    saveIfDirty();
    delBroadcastFilter(reinterpret_cast<ZvTarget>(hwnd()), msgInfoReady);
    delBroadcastFilter(reinterpret_cast<ZvTarget>(hwnd()), msgFileChanged);
  }
  destroy();
}

std::string TCDDBWnd::tr(const std::string& key, const std::string& text) {
  return lng_ ? lng_->text(key, text) : text;
}

bool TCDDBWnd::create(HWND owner, const std::string& currentFile) {
  lng_ = std::make_unique<ui::WindowLng>(rootDir_, language_, "CDDBWnd.lng");
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  const std::string caption = tr("CDDBWnd", "CD database");
  if (!createFrame(rootDir_, caption.c_str(), {kClientWidth, kClientHeight}, owner, false)) return false;
  build();
  addBroadcastFilter(reinterpret_cast<ZvTarget>(hwnd()), msgInfoReady);
  addBroadcastFilter(reinterpret_cast<ZvTarget>(hwnd()), msgFileChanged);
  refreshDiscs();
  uint32_t kind = 0, id = 0;
  if (!currentFile.empty() && decodeCDA(currentFile.c_str(), &kind, nullptr, &id, nullptr) && id) {
    const std::string path = discPath(id);
    for (size_t i = 0; i < discs_.size(); ++i)
      if (lstrcmpiA(discs_[i].path.c_str(), path.c_str()) == 0) selectDisc(int(i));
  }
  lng_->flush();
  return true;
}

void TCDDBWnd::build() {
  const RECT c = clientRect();
  disk_ = info::makeChild(hwnd(), "COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                          {c.left + 8, c.top + 8, c.right - 44, c.top + 8 + 24 + 16 * 18}, kDiskId);
  addTabStop(disk_);
  auto addButton = [&](const std::string& name, const std::string& caption, const RECT& r) -> ui::TZButton& {
    auto& b = addElement<ui::TZButton>(tr(name, caption));
    b.setName(name);
    b.setRect(r);
    buttons_.push_back({name, &b});
    return b;
  };
  addButton("ren", "...", {c.right - 38, c.top + 8, c.right - 8, c.top + 30}).onClick = [this] { runCommand("ren"); };

  track_ = info::makeChild(hwnd(), WC_LISTVIEWA,
                           WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_EDITLABELS,
                           {c.left + 8, c.top + 38, c.right - 8, c.bottom - 40}, kTrackId);
  addTabStop(track_);
  ListView_SetExtendedListViewStyle(track_, LVS_EX_FULLROWSELECT);
  const ui::ControlArt& art = ui::controlArt();
  ListView_SetBkColor(track_, art.face);
  ListView_SetTextBkColor(track_, art.face);
  ListView_SetTextColor(track_, art.text);
  struct Column {
    std::string text;
    int width, format;
  } columns[] = {{tr("ColName", "Name"), 300, LVCFMT_LEFT}, {"#", 40, LVCFMT_LEFT}, {tr("ColTime", "Time"), 70, LVCFMT_RIGHT}};
  for (int i = 0; i < 3; ++i) {
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    col.pszText = const_cast<char*>(columns[i].text.c_str());
    col.cx = columns[i].width;
    col.fmt = columns[i].format;
    col.iSubItem = i;
    ListView_InsertColumn(track_, i, &col);
  }
  int order[3] = {colNumber, colName, colTime};
  ListView_SetColumnOrderArray(track_, 3, order);

  const int y = c.bottom - 32;
  addButton("add", "+", {c.left + 8, y, c.left + 40, y + 24}).onClick = [this] { showAddMenu(); };
  addButton("del", "-", {c.left + 44, y, c.left + 76, y + 24}).onClick = [this] { runCommand("del"); };
  addButton("up", "Up", {c.left + 80, y, c.left + 130, y + 24}).onClick = [this] { runCommand("up"); };
  addButton("down", "Down", {c.left + 134, y, c.left + 184, y + 24}).onClick = [this] { runCommand("down"); };
  addButton("menu", ">", {c.right - 40, y, c.right - 8, y + 24}).onClick = [this] { showMainMenu(); };
}

ui::TZButton* TCDDBWnd::button(const std::string& name) const {
  for (const auto& [n, b] : buttons_)
    if (n == name) return b;
  return nullptr;
}

uint32_t TCDDBWnd::discId() const {
  return selected_ >= 0 && selected_ < int(discs_.size()) ? discs_[selected_].discId : 0;
}

void TCDDBWnd::refreshDiscs() {
  const std::string current = selected_ >= 0 && selected_ < int(discs_.size()) ? discs_[selected_].path : "";
  discs_ = listDiscs();
  SendMessageA(disk_, CB_RESETCONTENT, 0, 0);
  int keep = -1;
  for (size_t i = 0; i < discs_.size(); ++i) {
    SendMessageA(disk_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(discs_[i].name.c_str()));
    if (!current.empty() && lstrcmpiA(discs_[i].path.c_str(), current.c_str()) == 0) keep = int(i);
  }
  selected_ = keep;
  SendMessageA(disk_, CB_SETCURSEL, WPARAM(keep), 0);
}

void TCDDBWnd::selectDisc(int index) {
  saveIfDirty();
  selected_ = index >= 0 && index < int(discs_.size()) ? index : -1;
  SendMessageA(disk_, CB_SETCURSEL, WPARAM(selected_), 0);
  loadSelectedDisc();
}

void TCDDBWnd::loadSelectedDisc() {
  tracks_.assign(selected_ >= 0 ? loadDiscTracks(discs_[selected_].path) : std::vector<CdTrackItem>{});
  fillTrackView(0);
}

void TCDDBWnd::fillTrackView(int select) {
  SendMessageA(track_, WM_SETREDRAW, FALSE, 0);
  ListView_DeleteAllItems(track_);
  const auto& items = tracks_.items();
  for (size_t i = 0; i < items.size(); ++i) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = int(i);
    item.pszText = const_cast<char*>(items[i].name.c_str());
    ListView_InsertItem(track_, &item);
    std::string number = std::to_string(items[i].track), time = formatTime(items[i].lengthMs);
    ListView_SetItemText(track_, int(i), colNumber, number.data());
    ListView_SetItemText(track_, int(i), colTime, time.data());
  }
  SendMessageA(track_, WM_SETREDRAW, TRUE, 0);
  selectTrack(select);
}

int TCDDBWnd::selectedTrack() const { return ListView_GetNextItem(track_, -1, LVNI_SELECTED); }

void TCDDBWnd::selectTrack(int index) {
  if (index < 0 || index >= int(tracks_.size())) return;
  ListView_SetItemState(track_, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_EnsureVisible(track_, index, FALSE);
}

void TCDDBWnd::runCommand(const std::string& command) {
  const int sel = selectedTrack();
  int next = -2;
  if (command == "ren") return renameDisc();
  if (selected_ < 0) return;
  if (command == "del") next = tracks_.remove(sel);
  else if (command == "up") next = tracks_.moveUp(sel);
  else if (command == "down") next = tracks_.moveDown(sel);
  else if (command == "number") tracks_.sortByNumber(), next = 0;
  else if (command == "name") tracks_.sortByName(), next = 0;
  else if (command == "rev") tracks_.reverse(), next = 0;
  else if (command == "rand") tracks_.shuffle(random_), next = 0;
  else if (command == "reset" || command.rfind("add:", 0) == 0) {
    // Both need the disc's record; without one they change nothing.
    std::vector<CdTrackItem> all;
    if (!recordTracks(discId(), tr("Track", "Track"), all)) return;
    if (command == "reset") {
      tracks_.reset(std::move(all));
      next = 0;
    } else {
      const int number = std::atoi(command.c_str() + 4);
      for (const CdTrackItem& item : all)
        if (item.track == number) next = tracks_.append(item);
    }
  } else if (command == "query") {
    if (queryWindowsCddb(discId())) {
      refreshDiscs();
      const auto fresh = loadDiscTracks(discs_[selected_].path);
      for (const CdTrackItem& item : fresh) tracks_.rename(item.track, item.name);
      next = sel;
    }
  }
  if (next != -2) fillTrackView(next >= 0 ? next : std::min(sel, int(tracks_.size()) - 1));
}

void TCDDBWnd::renameTrackAt(int index, const std::string& name) {
  if (index < 0 || index >= int(tracks_.size()) || selected_ < 0) return;
  const int track = tracks_.items()[index].track;
  renameTrack(discId(), track, name);
  tracks_.rename(track, name);
  ListView_SetItemText(track_, index, colName, const_cast<char*>(name.c_str()));
}

void TCDDBWnd::renameDisc() {
  if (selected_ < 0) return;
  std::string name = discs_[selected_].name;
  const bool ok = ask_ ? ask_(name)
                       : info::askName(rootDir_, tr("RenameCD", "Rename CD"),
                                       tr("RenameCDPrompt", "Enter new name for this CD"), name, hwnd());
  if (!ok) return;
  cddb::renameDisc(discId(), name);
  refreshDiscs();
}

void TCDDBWnd::saveIfDirty() {
  if (!tracks_.dirty() || selected_ < 0) return;
  savePlayOrder(discId(), tracks_.items());
  tracks_.markClean();
}

void TCDDBWnd::showAddMenu() {
  std::vector<CdTrackItem> all;
  if (selected_ < 0 || !recordTracks(discId(), tr("Track", "Track"), all) || all.empty()) return;
  UniqueMenu menu(CreatePopupMenu());
  for (const CdTrackItem& item : all) AppendMenuA(menu.get(), MF_STRING, item.track, item.name.c_str());
  const RECT r = button("add")->rect();
  POINT at{r.left, r.top};
  ClientToScreen(hwnd(), &at);
  const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_BOTTOMALIGN, at.x, at.y, 0, hwnd(), nullptr);
  if (chosen > 0) runCommand("add:" + std::to_string(chosen));
}

void TCDDBWnd::showMainMenu() {
  UniqueMenu menu(CreatePopupMenu());
  std::vector<std::string> commands;
  for (size_t i = 0; i < std::size(kMenuItems); ++i) {
    const std::string item = lng_->item("menu[" + std::to_string(i) + "]", kMenuItems[i]);
    if (textPart(item).empty()) {
      AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    commands.push_back(commandPart(item));
    AppendMenuA(menu.get(), MF_STRING, commands.size(), textPart(item).c_str());
  }
  lng_->flush();
  const RECT r = button("menu")->rect();
  POINT at{r.right, r.top};
  ClientToScreen(hwnd(), &at);
  const int chosen =
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTALIGN | TPM_BOTTOMALIGN, at.x, at.y, 0, hwnd(), nullptr);
  if (chosen > 0 && size_t(chosen) <= commands.size()) runCommand(commands[chosen - 1]);
}

LRESULT TCDDBWnd::onNotify(NMHDR* header) {
  if (header->hwndFrom != track_) return 0;
  switch (header->code) {
    case LVN_BEGINDRAG:
      dragFrom_ = reinterpret_cast<NMLISTVIEW*>(header)->iItem;
      SetCapture(hwnd());
      return 0;
    case LVN_BEGINLABELEDITA:
      return selected_ < 0;  // nothing to rename without a disc
    case LVN_ENDLABELEDITA: {
      auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
      if (info->item.pszText) renameTrackAt(info->item.iItem, info->item.pszText);
      return FALSE;  // the text is set by renameTrackAt
    }
    case LVN_KEYDOWN: {
      const WORD vk = reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey;
      if (vk == VK_DELETE) runCommand("del");
      else if (vk == VK_F2 && selectedTrack() >= 0) ListView_EditLabel(track_, selectedTrack());
      return 0;
    }
    default: return 0;
  }
}

void TCDDBWnd::finishDrag(POINT p) {
  const int from = dragFrom_;
  dragFrom_ = -1;
  ReleaseCapture();
  MapWindowPoints(hwnd(), track_, &p, 1);
  LVHITTESTINFO hit{};
  hit.pt = p;
  int to = ListView_HitTest(track_, &hit);
  if (to < 0) to = p.y < 0 ? 0 : int(tracks_.size()) - 1;
  const int moved = tracks_.moveTo(from, to);
  if (moved >= 0) fillTrackView(moved);
}

LRESULT TCDDBWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (zv::answerHelpKey(hwnd(), message, "cddb.html")) return TRUE;
  switch (message) {
    case msgInfoReady:
    case msgFileChanged: {
      MSG m{hwnd(), message, wParam, lParam, 0, {0, 0}};
      // A disc's new name (or new data) shows in the disc list; the track
      // names and the order being edited stay as they are.
      finishMsg(&m);
      if (message == msgFileChanged) refreshDiscs();
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == kDiskId && HIWORD(wParam) == CBN_SELCHANGE)
        selectDisc(int(SendMessageA(disk_, CB_GETCURSEL, 0, 0)));
      return 0;
    case WM_NOTIFY:
      return onNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_LBUTTONUP:
      if (dragFrom_ >= 0) {
        finishDrag({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (dragFrom_ >= 0 && reinterpret_cast<HWND>(lParam) != hwnd()) dragFrom_ = -1;
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return colors_.answer(reinterpret_cast<HDC>(wParam), false);
    case WM_CTLCOLORSTATIC:
      return colors_.answer(reinterpret_cast<HDC>(wParam), true);
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        PostMessageA(hwnd(), WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_CLOSE:
      saveIfDirty();
      ShowWindow(hwnd(), SW_HIDE);
      return 0;
    default: break;
  }
  return TFrameWnd::handle(message, wParam, lParam);
}

}  // namespace zv::cddb
