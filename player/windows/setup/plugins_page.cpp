#include "setup/plugins_page.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "control_art.h"

namespace zv::setupui {

namespace {

constexpr int kListHeight = 168, kPictureSide = 48, kButtonWidth = 110;
enum { idPluginList = 140 };

void addColumn(HWND list, int index, const std::string& caption, int width) {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.pszText = const_cast<char*>(caption.c_str());
  column.cx = width;
  SendMessageA(list, LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column));
}

void setCell(HWND list, int item, int column, const std::string& text) {
  LVITEMA cell{};
  cell.iSubItem = column;
  cell.pszText = const_cast<char*>(text.c_str());
  SendMessageA(list, LVM_SETITEMTEXTA, item, reinterpret_cast<LPARAM>(&cell));
}

}  // namespace

void TPluginPicture::show(HMODULE module) {
  bitmap_.reset(module ? static_cast<HBITMAP>(LoadImageA(module, "PLGICON", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))
                       : nullptr);
  invalidate();
}

void TPluginPicture::paint(HDC dc) {
  if (!bitmap_) return;
  BITMAP info{};
  GetObjectA(bitmap_.get(), sizeof(info), &info);
  if (info.bmWidth <= 0 || info.bmHeight == 0) return;
  const RECT r = rect();
  const int boxW = r.right - r.left, boxH = r.bottom - r.top, h = std::abs(info.bmHeight);
  // Smaller pictures keep their size; larger ones shrink to fit.
  int w = info.bmWidth, hh = h;
  if (w > boxW || hh > boxH) {
    if (int64_t(w) * boxH > int64_t(hh) * boxW)
      hh = std::max(1, int(int64_t(hh) * boxW / w)), w = boxW;
    else
      w = std::max(1, int(int64_t(w) * boxH / hh)), hh = boxH;
  }
  UniqueMemoryDc source(CreateCompatibleDC(dc));
  SelectedObject picture(source.get(), bitmap_.get());
  SetStretchBltMode(dc, HALFTONE);
  StretchBlt(dc, r.left + (boxW - w) / 2, r.top + (boxH - hh) / 2, w, hh, source.get(), 0, 0, info.bmWidth, h,
             SRCCOPY);
}

std::string PluginsPage::groupText(PluginGroup group) {
  static const char* const kGroups[] = {"Decoder", "Input", "Visualization", "General"};
  const int i = static_cast<int>(group);
  return texts_.item("kinds", i, kGroups[i]);
}

void PluginsPage::build(RECT a, std::vector<PluginEntry> entries) {
  entries_ = std::move(entries);
  list_ = pages_.child(WC_LISTVIEWA, "", WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER,
                       {a.left, a.top, a.right, a.top + kListHeight}, idPluginList);
  SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  const int width = a.right - a.left - 4 - GetSystemMetrics(SM_CXVSCROLL);
  addColumn(list_, 0, texts_.item("columns", 0, "Plug-in"), width * 50 / 100);
  addColumn(list_, 1, texts_.item("columns", 1, "Kind"), width * 22 / 100);
  addColumn(list_, 2, texts_.item("columns", 2, "File"), width - width * 50 / 100 - width * 22 / 100);
  const std::string builtIn = texts_.caption("builtIn", "(built in)");
  for (size_t i = 0; i < entries_.size(); ++i) {
    const PluginEntry& e = entries_[i];
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(i);
    const std::string description = e.description.empty() ? e.fileName : e.description;
    item.pszText = const_cast<char*>(description.c_str());
    item.lParam = static_cast<LPARAM>(i);
    const int at = static_cast<int>(SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    setCell(list_, at, 1, groupText(e.group));
    setCell(list_, at, 2, e.builtIn() ? builtIn : e.fileName);
  }
  // The kind and the file as wide as their texts; the rest for the
  // descriptions, which are the longest.
  SendMessageA(list_, LVM_SETCOLUMNWIDTH, 1, LVSCW_AUTOSIZE_USEHEADER);
  SendMessageA(list_, LVM_SETCOLUMNWIDTH, 2, LVSCW_AUTOSIZE);  // the last: USEHEADER would fill the list
  for (int column : {1, 2})  // a gap before the next column
    SendMessageA(list_, LVM_SETCOLUMNWIDTH, column, SendMessageA(list_, LVM_GETCOLUMNWIDTH, column, 0) + 10);
  const int rest = width - static_cast<int>(SendMessageA(list_, LVM_GETCOLUMNWIDTH, 1, 0)) -
                   static_cast<int>(SendMessageA(list_, LVM_GETCOLUMNWIDTH, 2, 0));
  SendMessageA(list_, LVM_SETCOLUMNWIDTH, 0, std::max(rest, width / 3));

  const int y = a.top + kListHeight + 10;
  picture_ = &pages_.element<TPluginPicture>(RECT{a.left, y, a.left + kPictureSide, y + kPictureSide});
  picture_->setName("plgicon");
  title_ = &pages_.element<ui::TZText>(RECT{a.left + kPictureSide + 10, y, a.right - kButtonWidth - 10, y + 18});
  title_->setName("plgTitle");
  details_ = &pages_.element<ui::TZText>(RECT{a.left + kPictureSide + 10, y + 20, a.right - kButtonWidth - 10, a.bottom});
  details_->setName("plgDetails");
  configure_ = &pages_.element<ui::TZButton>(RECT{a.right - kButtonWidth, y, a.right, y + 24},
                                             texts_.caption("configure", "Configure..."));
  configure_->setName("configure");
  configure_->setHint(texts_.hint("configure", "The settings of the selected plug-in"));
  configure_->onClick = [this] { configure(); };
  select(entries_.empty() ? -1 : 0);
}

void PluginsPage::select(int index) {
  if (index >= 0 && index < static_cast<int>(entries_.size())) {
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list_, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&state));
    SendMessageA(list_, LVM_ENSUREVISIBLE, index, FALSE);
  }
  showSelected();
}

int PluginsPage::selected() const {
  const int item = static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  if (item < 0) return -1;
  LVITEMA query{};
  query.mask = LVIF_PARAM;
  query.iItem = item;
  SendMessageA(list_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
  return static_cast<int>(query.lParam);
}

std::string PluginsPage::details() const { return details_ ? details_->text() : std::string(); }

void PluginsPage::showSelected() {
  const int index = selected();
  if (index < 0) {
    picture_->show(nullptr);
    title_->setText("");
    details_->setText("");
    configure_->setEnabled(false);
    return;
  }
  const PluginEntry& e = entries_[index];
  picture_->show(e.module);
  // The texts start beside the picture, or where it would be without one.
  const int left = picture_->shown() ? picture_->rect().right + 10 : picture_->rect().left;
  for (ui::TZText* text : {title_, details_}) {
    RECT r = text->rect();
    r.left = left;
    text->setRect(r);
  }
  title_->setText(e.description);
  std::string text = e.builtIn() ? texts_.caption("lBuiltIn", "Built into the engine")
                                 : texts_.caption("lFile", "File:") + " " + e.fileName;
  if (!e.extensions.empty()) {
    // Spaces after the commas let a long list wrap.
    std::string list;
    for (char c : e.extensions) list += c == ',' ? std::string(", ") : std::string(1, c);
    text += "\n" + texts_.caption("lExtensions", "Extensions:") + " " + list;
  }
  details_->setText(text);
  configure_->setEnabled(e.configurable());
}

bool PluginsPage::configure() {
  const int index = selected();
  return index >= 0 && configurePlugin(entries_[index], window_);
}

bool PluginsPage::notify(const NMHDR& note) {
  if (note.hwndFrom != list_ || !list_) return false;
  if (note.code == LVN_ITEMCHANGED) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(note);
    if (change.uChanged & LVIF_STATE) showSelected();
    return true;
  }
  if (note.code == NM_DBLCLK || note.code == NM_RETURN) {
    configure();
    return true;
  }
  return false;
}

}  // namespace zv::setupui
