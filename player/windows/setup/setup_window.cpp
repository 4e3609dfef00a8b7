#include "setup/setup_window.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>

#include "menus/menu_model.h"
#include "settings/setup_keys.h"
#include "setup/text_prompt.h"
#include "zv_config.h"
#include "zv_plugins.h"
#include "help_request.h"

namespace zv {

namespace {

constexpr int kClientWidth = 500, kClientHeight = 360;
constexpr int kLabelWidth = 170, kRow = 28;
enum ChildId { idAutoOpen = 100, idTree };

const char* const kPageCaptions[] = {"General", "Tray", "Menus", "Folders", "File types", "Plug-ins"};

RECT row(const RECT& area, int y, int left = 0, int right = 0) {
  return {area.left + left, area.top + y, right > 0 ? area.left + right : area.right, area.top + y + 22};
}

}  // namespace

TSetupWnd::TSetupWnd(SetupContext context)
    : TFrameWnd("SetupWnd", ui::FrameKind::dialog), context_(std::move(context)), pages_(*this) {
  if (!context_.ask)
    context_.ask = [this](const std::string& title, const std::string& prompt) {
      return setupui::askText(hwnd(), context_.root, title, prompt);
    };
  if (!context_.translate) context_.translate = [](const char* text) { return defaultText(text ? text : ""); };
  if (context_.langDir.empty()) context_.langDir = context_.root + "\\lang";
  if (context_.language.empty()) context_.language = setupui::currentLanguage();
  if (!context_.plugins) context_.plugins = listPlugins;
  if (!context_.shortcutFolder) context_.shortcutFolder = shortcutFolder;
  if (!context_.message)
    context_.message = [this](const std::string& text) { MessageBoxA(hwnd(), text.c_str(), "Zorvak", MB_ICONWARNING); };
}

TSetupWnd::~TSetupWnd() = default;

bool TSetupWnd::open(HWND owner) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  texts_ = std::make_unique<setupui::WindowTexts>(context_.langDir, context_.language, "SetupWnd");
  if (!createFrame(context_.root, texts_->caption("SetupWnd", "Settings").c_str(), {kClientWidth, kClientHeight}, owner))
    return false;
  const RECT c = clientRect();
  // The page buttons along the top, the page below them, the window's own
  // buttons along the bottom.
  pages_.setBuildPage(-1);
  const int tabWidth = (c.right - c.left - 24) / pageCount;
  for (int p = 0; p < pageCount; ++p) {
    auto& tab = pages_.element<ui::TZButton>(
        {c.left + 12 + p * tabWidth, c.top + 10, c.left + 12 + (p + 1) * tabWidth - 4, c.top + 34},
        texts_->item("Pages", p, kPageCaptions[p]));
    tab.setName(std::string("page") + std::to_string(p + 1));
    tab.onClick = [this, p] { showPage(p); };
    pageRow_.add(tab);
  }
  pageRow_.setMarker(pages_.element<setupui::TPageMarker>(RECT{}));
  const RECT area{c.left + 16, c.top + 46, c.right - 16, c.bottom - 46};
  auto& advanced = pages_.element<ui::TZButton>({c.left + 12, c.bottom - 34, c.left + 118, c.bottom - 10}, texts_->caption("advanced", "Advanced..."));
  advanced.setName("advanced");
  advanced.onClick = [this] { openAdvanced(); };
  auto& ok = pages_.element<ui::TZButton>({c.right - 188, c.bottom - 34, c.right - 104, c.bottom - 10}, texts_->caption("ok", "OK"));
  ok.setName("ok");
  ok.onClick = [this] { confirm(); };
  auto& cancel = pages_.element<ui::TZButton>({c.right - 96, c.bottom - 34, c.right - 12, c.bottom - 10}, texts_->caption("cancel", "Cancel"));
  cancel.setName("cancel");
  cancel.onClick = [this] { PostMessageA(hwnd(), WM_CLOSE, 0, 0); };

  pages_.setBuildPage(general), buildGeneral(area);
  pages_.setBuildPage(tray), buildTray(area);
  pages_.setBuildPage(menus), buildMenus(area);
  pages_.setBuildPage(folders), buildFolders(area);
  pages_.setBuildPage(fileTypes), buildFileTypes(area);
  pages_.setBuildPage(plugins);
  plugins_ = std::make_unique<setupui::PluginsPage>(pages_, *texts_, hwnd());
  plugins_->build(area, context_.plugins());
  readValues();
  fillTree();
  showPage(general);
  setFocusElement(&ok);
  return true;
}

void TSetupWnd::showPage(int page) {
  pages_.show(page);
  pageRow_.select(page);
}

// ---- Building the pages ----

ui::UiElement& TSetupWnd::label(RECT r, const std::string& name, const std::string& text) {
  auto& l = pages_.element<ui::TZText>(r, texts_->caption(name, text));
  l.setName(name);
  return l;
}

ui::TZCheck& TSetupWnd::check(RECT r, const char* key, const char* caption) {
  auto& box = pages_.element<ui::TZCheck>(r, texts_->caption(key, caption));
  box.setName(key);
  elements_[key] = &box;
  return box;
}

HWND TSetupWnd::keyCombo(RECT r, const char* key, const std::vector<std::string>& entries, bool editable) {
  // Formats are offered as they are; choice lists are texts.
  HWND box = pages_.combo(r, editable ? entries : texts_->items(key, entries), editable);
  windows_[key] = box;
  return box;
}

void TSetupWnd::buildGeneral(RECT a) {
  check(row(a, 0), "autoStart", "Auto-start playback");
  check(row(a, kRow), "autoOemCvt", "Auto-detect CP866 encoded playlists");
  check(row(a, 2 * kRow), "showGroupTime", "Show group time in playlist menus");
  check(row(a, 3 * kRow), "showTrackTime", "Show file time in playlist menus");
  check(row(a, 4 * kRow), "showTooltips", "Show tooltips");
  int y = 5 * kRow + 10;
  label(row(a, y + 3, 0, kLabelWidth), "lTagFmt", "ID3 to description conversion:");
  keyCombo(row(a, y, kLabelWidth + 6), "TagFmt", {"@[%a%t][@[%n][%n. ]%a \"%t\"]", "@[%a%t][%a \"%t\"]"}, true);
  y += kRow + 4;
  label(row(a, y + 3, 0, kLabelWidth), "lHotkeyMod", "Hot keys modifier:");
  keyCombo(row(a, y, kLabelWidth + 6), "hotkeyMod",
           {"Windows key", "Ctrl+Alt", "Ctrl+Shift", "Alt+Shift", "Ctrl+Alt+Shift"});
  y += kRow + 4;
  label(row(a, y + 3, 0, kLabelWidth), "lLang", "Language:");
  languages_ = listLanguages(context_.langDir);
  std::vector<std::string> names;
  for (const LanguageEntry& l : languages_) names.push_back(l.name);
  windows_["Lang"] = pages_.combo(row(a, y, kLabelWidth + 6), names);  // names in their own language
}

void TSetupWnd::buildTray(RECT a) {
  const std::vector<std::string> modes = {"Button in taskbar", "Icon in tray", "Taskbar button & tray icon",
                                          "Tray icon always, button when not minimized"};
  label(row(a, 3, 0, kLabelWidth), "lMinMode0", "Normal mode:");
  keyCombo(row(a, 0, kLabelWidth + 6), "minMode_0", modes);
  label(row(a, kRow + 7, 0, kLabelWidth), "lMinMode1", "Rollup mode:");
  keyCombo(row(a, kRow + 4, kLabelWidth + 6), "minMode_1", modes);
  int y = 2 * kRow + 18;
  label(row(a, y), "lTrayIcons", "Tray control icons:");
  y += kRow - 4;
  const int half = (a.right - a.left) / 2;
  check(row(a, y, 16, half), "tbPlaylist", "Previous/next group");
  check(row(a, y, half + 8), "tbFile", "Previous/next file");
  y += kRow;
  check(row(a, y, 16, half), "tbSeek", "Rewind/forward");
  check(row(a, y, half + 8), "tbPlay", "Play/stop");
  y += kRow + 10;
  check(row(a, y), "scrollTitle", "Scroll title in taskbar");
  check(row(a, y + kRow), "trayAnim", "Animated tray icon");
  check(row(a, y + 2 * kRow), "tbHints", "Baloon hints in tray (Win2K)");
}

void TSetupWnd::buildMenus(RECT a) {
  label(row(a, 3, 0, kLabelWidth), "lVideoFx", "Menu coloring:");
  keyCombo(row(a, 0, kLabelWidth + 6), "videoFx",
           {"None", "Uniform", "Gradiental", "Textured", "Dynamic uniform (Win2K)"});
  label(row(a, kRow + 7, 0, kLabelWidth), "lMenuStyle", "Menu style:");
  keyCombo(row(a, kRow + 4, kLabelWidth + 6), "menuStyle", {"Zorvak 2000 original", "Windows style", "Whistler style"});
  int y = 2 * kRow + 16;
  const struct {
    const char* key;
    const char* caption;
  } alphas[] = {{"alphaconst", "Transparency:"}, {"alphamain", "Minimum:"}, {"alphagrad", "Maximum:"}};
  for (const auto& al : alphas) {
    label(row(a, y + 2, 0, kLabelWidth), std::string("l") + al.key, al.caption);
    auto& slider = pages_.element<ui::TZSlider>(row(a, y, kLabelWidth + 6, a.right - a.left - 50), 0, 255, 0);
    slider.setName(al.key);
    elements_[al.key] = &slider;
    auto& value = pages_.element<ui::TZText>(row(a, y + 2, a.right - a.left - 42), "", DT_RIGHT);
    slider.onChange = [&value](int v) { value.setText(std::to_string(v)); };
    y += kRow;
  }
  label(row(a, y + 3, 0, kLabelWidth), "lTexture", "Texture:");
  HWND texture = pages_.child("EDIT", "", WS_BORDER | ES_AUTOHSCROLL, row(a, y, kLabelWidth + 6, a.right - a.left - 34));
  windows_["texture"] = texture;
  auto& browse = pages_.element<ui::TZButton>(row(a, y, a.right - a.left - 28), "...");
  browse.setName("browse_texture");
  browse.setHint(texts_->hint(browse.name(), "Browse"));
  browse.onClick = [this, texture] {
    char path[MAX_PATH] = {};
    GetWindowTextA(texture, path, sizeof(path));
    OPENFILENAMEA open{};
    open.lStructSize = sizeof(open);
    open.hwndOwner = hwnd();
    open.lpstrFilter = "BMP\0*.bmp\0\0";
    open.lpstrFile = path;
    open.nMaxFile = sizeof(path);
    open.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (GetOpenFileNameA(&open)) SetWindowTextA(texture, path);
  };
  y += kRow - 2;
  label(row(a, y, kLabelWidth + 6), "lTextureNote", "(Texture must be a 8 or 24-bit Windows BMP file)");
  y += kRow;
  check(row(a, y), "newStyleBrowse", "New style \"Open folder...\" dialogs (Win2K)");
  check(row(a, y + kRow), "newStyleOpen", "New style \"Open file...\" dialogs (Win2K)");
}

void TSetupWnd::buildFolders(RECT a) {
  auto folderRow = [&](int y, const char* key, const char* english) {
    const std::string caption = texts_->caption(std::string("l") + key, english);
    pages_.element<ui::TZText>(row(a, y + 3, 0, kLabelWidth), caption);
    HWND edit = pages_.child("EDIT", "", WS_BORDER | ES_AUTOHSCROLL, row(a, y, kLabelWidth + 6, a.right - a.left - 34));
    windows_[key] = edit;
    auto& browse = pages_.element<ui::TZButton>(row(a, y, a.right - a.left - 28), "...");
    browse.setName(std::string("browse_") + key);
    browse.setHint(texts_->hint(browse.name(), "Browse"));
    browse.onClick = [this, edit, caption] {
      char path[MAX_PATH] = {};
      GetWindowTextA(edit, path, sizeof(path));
      if (selectFolder(hwnd(), caption.c_str(), path)) SetWindowTextA(edit, path);
    };
  };
  folderRow(0, "cddbDir", "CD database directory:");
  folderRow(kRow + 4, "lyrDir", "Lyrics database directory:");
  int y = 2 * kRow + 12;
  label(row(a, y + 2, 0, kLabelWidth), "lLyrIn", "Create new lyrics in:");
  lyrInDb_ = &check(row(a, y, kLabelWidth + 6), "lyrInDb", "Lyrics database");
  lyrBeside_ = &pages_.element<ui::TZCheck>(row(a, y + kRow - 4, kLabelWidth + 6),
                                            texts_->caption("lyrBeside", "Same location as media files"));
  lyrBeside_->setName("lyrBeside");
  // The two boxes answer one question.
  lyrInDb_->onChange = [this](bool on) { lyrBeside_->setChecked(!on); };
  lyrBeside_->onChange = [this](bool on) { lyrInDb_->setChecked(!on); };
  y += 2 * kRow;
  label(row(a, y + 3, 0, kLabelWidth), "lLyrDbFmt", "Database file name:");
  keyCombo(row(a, y, kLabelWidth + 6), "lyrDbFmt", {"%a - %t.txt"}, true);
  y += kRow + 2;
  label(row(a, y + 3, 0, kLabelWidth), "lLyrSrcFmt", "File name beside media:");
  keyCombo(row(a, y, kLabelWidth + 6), "lyrSrcFmt", {"%f.%e.txt", "%f.txt", "%f.lyr"}, true);
  y += kRow + 8;
  label(row(a, y + 3, 0, kLabelWidth), "lCdAutoOpen", "Auto-open files on CDs:");
  autoOpen_ = pages_.child("LISTBOX", "", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
                           {a.left + kLabelWidth + 6, a.top + y, a.right - 34, a.bottom}, idAutoOpen);
  auto& add = pages_.element<ui::TZButton>(row(a, y, a.right - a.left - 28), "+");
  add.setName("addAutoOpen");
  add.setHint(texts_->hint("addAutoOpen", "Add auto-open file"));
  add.onClick = [this] { addAutoOpen(); };
  auto& remove = pages_.element<ui::TZButton>(row(a, y + 26, a.right - a.left - 28), "\x96");
  remove.setName("delAutoOpen");
  remove.setHint(texts_->hint("delAutoOpen", "Remove the selected file"));
  remove.onClick = [this] { removeAutoOpen(); };
}

void TSetupWnd::buildFileTypes(RECT a) {
  tree_ = pages_.child(WC_TREEVIEWA, "",
                       WS_BORDER | TVS_CHECKBOXES | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS | TVS_SHOWSELALWAYS,
                       {a.left, a.top, a.right - 150, a.bottom}, idTree);
  const int x = a.right - a.left - 140;
  folders_ = &check(row(a, 0, x), "dirs", "Directories");
  audioCd_ = &check(row(a, kRow, x), "cds", "Audio CDs");
  auto& add = pages_.element<ui::TZButton>(row(a, 2 * kRow + 12, x, x + 40), "+");
  add.setName("addExt");
  add.setHint(texts_->hint("addExt", "Add extension"));
  add.onClick = [this] { addExtension(); };
  auto& remove = pages_.element<ui::TZButton>(row(a, 2 * kRow + 12, x + 48, x + 88), "\x96");
  remove.setName("delExt");
  remove.setHint(texts_->hint("delExt", "Delete the selected user-defined extension"));
  remove.onClick = [this] { removeExtension(); };
  auto& icons = pages_.element<ui::TZButton>(row(a, 4 * kRow, x, a.right - a.left), texts_->caption("icons", "Shortcuts..."));
  icons.setName("icons");
  icons.setHint(texts_->hint("icons", "Add shortcuts to the player"));
  icons.onClick = [this] { iconMenu(); };
}

// ---- The icon commands ----

void TSetupWnd::iconMenu() {
  UniqueMenu menu(CreatePopupMenu());
  for (size_t i = 0; i < shortcutCommands().size(); ++i)
    AppendMenuA(menu.get(), MF_STRING, i + 1, t(shortcutCommands()[i].caption).c_str());
  POINT at{};
  GetCursorPos(&at);
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr));
  if (chosen >= 1 && chosen <= shortcutCommands().size()) runIconCommand(shortcutCommands()[chosen - 1].command);
}

HRESULT TSetupWnd::runIconCommand(const std::string& command) {
  const std::optional<ShortcutPlace> place = shortcutPlaceOf(command);
  if (!place) return E_INVALIDARG;
  const HRESULT hr = addProgramShortcuts(*place, context_.playerExe, context_.shortcutFolder);
  if (FAILED(hr)) context_.message(t("NoShortcut###The shortcut could not be created"));
  return hr;
}

// ---- Values in and out ----

void TSetupWnd::readValues() {
  const std::string programDir = context_.playerExe.substr(0, context_.playerExe.find_last_of('\\'));
  const SetupValues v = readSetupValues(context_.root, programDir);
  for (const SetupKey& k : setupKeys()) {
    if (auto* box = dynamic_cast<ui::TZCheck*>(keyElement(k.name))) box->setChecked(v.number(k.name) != 0);
    if (auto* slider = dynamic_cast<ui::TZSlider*>(keyElement(k.name))) {
      slider->setValue(v.number(k.name));
      if (slider->onChange) slider->onChange(slider->value());
    }
    HWND w = keyWindow(k.name);
    if (!w) continue;
    if (std::string(k.name) == "Lang") {
      setupui::selectComboEntry(w, languageEntry(languages_, v.text("Lang")));
    } else if (k.kind == SetupKind::integer) {
      setupui::selectComboEntry(w, v.number(k.name));
    } else {
      SetWindowTextA(w, v.text(k.name).c_str());
    }
  }
  lyrBeside_->setChecked(!lyrInDb_->checked());
  for (const std::string& name : splitAutoOpen(v.text("cdAutoOpen")))
    SendMessageA(autoOpen_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  folders_->setChecked(folderVerbsRegistered(context_.shell.classes));
  audioCd_->setChecked(audioCdRegistered(context_.shell.classes));
}

SetupValues TSetupWnd::collectValues() const {
  SetupValues v;
  for (const SetupKey& k : setupKeys()) {
    if (auto* box = dynamic_cast<ui::TZCheck*>(keyElement(k.name))) v.numbers[k.name] = box->checked() ? 1 : 0;
    if (auto* slider = dynamic_cast<ui::TZSlider*>(keyElement(k.name))) v.numbers[k.name] = slider->value();
    HWND w = keyWindow(k.name);
    if (!w) continue;
    if (std::string(k.name) == "Lang") {
      const int entry = setupui::comboSelection(w);
      v.texts[k.name] = entry >= 0 && entry < static_cast<int>(languages_.size()) ? languages_[entry].folder : "en";
    } else if (k.kind == SetupKind::integer) {
      v.numbers[k.name] = std::max(0, setupui::comboSelection(w));
    } else {
      v.texts[k.name] = setupui::windowText(w);
    }
  }
  std::vector<std::string> names;
  const int count = static_cast<int>(SendMessageA(autoOpen_, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    char name[MAX_PATH] = {};
    if (SendMessageA(autoOpen_, LB_GETTEXTLEN, i, 0) < MAX_PATH)
      SendMessageA(autoOpen_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name));
    names.push_back(name);
  }
  v.texts["cdAutoOpen"] = joinAutoOpen(names);
  return v;
}

ui::UiElement* TSetupWnd::keyElement(const std::string& key) const {
  auto it = elements_.find(key);
  return it == elements_.end() ? nullptr : it->second;
}

HWND TSetupWnd::keyWindow(const std::string& key) const {
  auto it = windows_.find(key);
  return it == windows_.end() ? nullptr : it->second;
}

// ---- The auto-open list ----

void TSetupWnd::addAutoOpen() {
  auto name = context_.ask(t("AddAutoOpen###Add auto-open file"),
                           t("AddAutoOpenPrompt###This file will be automatically opened if it exists on inserted CD:"));
  // A "|" would split the setting; the list keeps file names only.
  if (!name || name->empty() || name->find_first_of("|\\/:") != std::string::npos) return;
  SendMessageA(autoOpen_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name->c_str()));
}

void TSetupWnd::removeAutoOpen() {
  const LRESULT selected = SendMessageA(autoOpen_, LB_GETCURSEL, 0, 0);
  if (selected != LB_ERR) SendMessageA(autoOpen_, LB_DELETESTRING, selected, 0);
}

// ---- The extension tree ----

namespace {

HTREEITEM insertItem(HWND tree, HTREEITEM parent, const std::string& text) {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = const_cast<char*>(text.c_str());
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

// State image 1 is the empty box, 2 the checked one, 0 none.
void setStateImage(HWND tree, HTREEITEM item, int image) {
  TVITEMA tv{};
  tv.mask = TVIF_STATE | TVIF_HANDLE;
  tv.hItem = item;
  tv.stateMask = TVIS_STATEIMAGEMASK;
  tv.state = INDEXTOSTATEIMAGEMASK(image);
  SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

void setChecked(HWND tree, HTREEITEM item, bool on) { setStateImage(tree, item, on ? 2 : 1); }

bool isChecked(HWND tree, HTREEITEM item) {
  const UINT state = static_cast<UINT>(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK));
  return (state >> 12) == 2;
}

}  // namespace

void TSetupWnd::fillTree() {
  char userExt[4096] = {};
  configString("userExt", userExt, "");
  const auto tree = buildExtensionTree(context_.decoders ? context_.decoders() : std::vector<ExtensionSource>{},
                                       context_.inputKinds ? context_.inputKinds() : std::vector<ExtensionSource>{},
                                       userExt, context_.translate);
  for (const AssocGroup& group : tree) {
    HTREEITEM node = insertItem(tree_, TVI_ROOT, group.caption);
    if (group.userDefined) userGroup_ = node;
    for (const std::string& ext : group.extensions) {
      HTREEITEM item = insertItem(tree_, node, ext);
      setChecked(tree_, item, isAssociated(context_.shell.classes, ext));
      treeExts_.push_back({item, ext});
    }
    SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
    groups_.push_back(node);
    syncGroupBox(node);
  }
  rememberBoxes();
}

HTREEITEM TSetupWnd::parentOf(HTREEITEM item) const {
  return reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
}

// A group's box shows whether all of its extensions are checked.
void TSetupWnd::syncGroupBox(HTREEITEM group) {
  bool all = true, any = false;
  for (const TreeExt& e : treeExts_)
    if (parentOf(e.item) == group) any = true, all = all && isChecked(tree_, e.item);
  setChecked(tree_, group, any && all);
}

// After a click on a box (or Space) the box that changed is found against
// the states last seen: a group's box checks or clears all of its
// extensions; an extension's box updates its group's.
void TSetupWnd::boxesChanged() {
  for (HTREEITEM group : groups_) {
    const bool on = isChecked(tree_, group);
    if (on != seen_[group]) {
      for (const TreeExt& e : treeExts_)
        if (parentOf(e.item) == group) setChecked(tree_, e.item, on);
    } else {
      syncGroupBox(group);
    }
  }
  rememberBoxes();
}

void TSetupWnd::rememberBoxes() {
  seen_.clear();
  for (HTREEITEM group : groups_) seen_[group] = isChecked(tree_, group);
}

LRESULT TSetupWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (zv::answerHelpKey(hwnd(), message, "settings.html")) return TRUE;
  if (message == WM_NOTIFY) {
    const NMHDR* note = reinterpret_cast<const NMHDR*>(lParam);
    const bool space = note->code == TVN_KEYDOWN && reinterpret_cast<const NMTVKEYDOWN*>(lParam)->wVKey == VK_SPACE;
    // The box changes after this notification: act on it afterwards.
    if (note->hwndFrom == tree_ && (note->code == NM_CLICK || space)) PostMessageA(hwnd(), kBoxClicked, 0, 0);
    if (plugins_ && plugins_->notify(*note)) return 0;
  } else if (message == kBoxClicked) {
    boxesChanged();
    return 0;
  } else if (message == WM_NCDESTROY) {
    pages_.windowDestroyed();
  }
  return TFrameWnd::handle(message, wParam, lParam);
}

void TSetupWnd::addExtension() {
  auto typed = context_.ask(t("AddExt###Add extension"),
                            t("AddExtPrompt###Files with this extension will be included into playlists:"));
  if (!typed) return;
  const std::optional<std::string> ext = normaliseExtension(*typed);
  if (!ext) {
    context_.message(t("BadExt###An extension is a dot and up to 15 letters, digits or _ ~ $ -"));
    return;
  }
  for (const TreeExt& e : treeExts_)
    if (e.ext == *ext) return;
  HTREEITEM item = insertItem(tree_, userGroup_, *ext);
  setChecked(tree_, item, false);
  treeExts_.push_back({item, *ext});
  syncGroupBox(userGroup_);
  rememberBoxes();
  SendMessageA(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(userGroup_));
}

void TSetupWnd::removeExtension() {
  HTREEITEM selected = reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!selected) return;
  if (reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(selected))) != userGroup_)
    return;
  std::erase_if(treeExts_, [&](const TreeExt& e) { return e.item == selected; });
  SendMessageA(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(selected));
  syncGroupBox(userGroup_);
  rememberBoxes();
}

bool TSetupWnd::setExtensionChecked(const std::string& ext, bool on) {
  for (const TreeExt& e : treeExts_)
    if (e.ext == ext) {
      setChecked(tree_, e.item, on);
      syncGroupBox(parentOf(e.item));
      rememberBoxes();
      return true;
    }
  return false;
}

bool TSetupWnd::extensionChecked(const std::string& ext) const {
  for (const TreeExt& e : treeExts_)
    if (e.ext == ext) return isChecked(tree_, e.item);
  return false;
}

void TSetupWnd::clickBox(const std::string& text) {
  UpdateWindow(tree_);  // the items' places are known once it was drawn
  for (HTREEITEM group = reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_ROOT, 0)); group;
       group = reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(group)))) {
    std::vector<HTREEITEM> items{group};
    for (const TreeExt& e : treeExts_)
      if (parentOf(e.item) == group) items.push_back(e.item);
    for (HTREEITEM item : items) {
      char caption[260] = {};
      TVITEMA tv{};
      tv.mask = TVIF_TEXT | TVIF_HANDLE;
      tv.hItem = item;
      tv.pszText = caption;
      tv.cchTextMax = sizeof(caption);
      SendMessageA(tree_, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
      if (text != caption) continue;
      // TVM_GETITEMRECT takes the item in the rectangle's place.
      RECT r{};
      std::memcpy(&r, &item, sizeof(item));
      SendMessageA(tree_, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
      // The box lies left of the text: the first point there that the
      // tree itself says is on it.
      POINT p{r.left - 1, (r.top + r.bottom) / 2};
      for (; p.x > 0; --p.x) {
        TVHITTESTINFO hit{};
        hit.pt = p;
        SendMessageA(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.hItem == item && (hit.flags & TVHT_ONITEMSTATEICON)) break;
      }
      if (p.x <= 0) return;
      // The tree follows the mouse after a press until the release comes
      // through its queue: the release waits there first.
      PostMessageA(tree_, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
      SendMessageA(tree_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
      return;
    }
  }
}

void TSetupWnd::writeRegistrations() {
  AssocChoice choice;
  std::vector<std::string> userExtensions;
  for (const TreeExt& e : treeExts_) {
    choice.extensions.push_back({e.ext, isChecked(tree_, e.item)});
    const HTREEITEM parent =
        reinterpret_cast<HTREEITEM>(SendMessageA(tree_, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(e.item)));
    if (parent == userGroup_) userExtensions.push_back(e.ext);
  }
  choice.folders = folders_->checked();
  choice.audioCd = audioCd_->checked();
  AssocTexts texts{t("CtxOpen###Play with Zorvak"), t("CtxEnqueue###Add to Zorvak playlist")};
  const LONG r = writeShellRegistrations(context_.shell, choice, AssocProgram{launcherOf(context_.playerExe), context_.playerExe},
                                         texts, context_.notifyShell);
  if (r != ERROR_SUCCESS)
    context_.message(t("NoAssocRights###You don't have enough rights to register file associations"));
  setConfigString("userExt", joinExtensions(userExtensions).c_str());
  reloadSuppExt();
}

void TSetupWnd::confirm() {
  writeSetupValues(collectValues());
  writeRegistrations();
  if (context_.applied) context_.applied();
  PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

void TSetupWnd::openAdvanced() {
  if (advanced_ && advanced_->hwnd() && IsWindow(advanced_->hwnd())) {
    SetForegroundWindow(advanced_->hwnd());
    return;
  }
  advanced_ = std::make_unique<TAdvSetupWnd>(context_.root, context_.langDir, context_.language);
  if (!advanced_->open(hwnd())) advanced_.reset();
}

}  // namespace zv
