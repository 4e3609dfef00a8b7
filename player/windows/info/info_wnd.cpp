#include "info_wnd.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "control_art.h"
#include "gdi_text.h"
#include "lyrics_file.h"
#include "lyrics_locator.h"
#include "progress_wnd.h"
#include "zv_decoder.h"
#include "zv_desc.h"
#include "zv_playback.h"
#include "zv_plugins.h"
#include "help_request.h"

namespace zv::info {

namespace {

const int kClientWidth = 330, kClientHeight = 330;
const int kTabWidth = 84, kRowStep = 27, kLabelWidth = 62;

// The Add menu: text and command; an empty text is a separator.
const char* const kAddItems[] = {"Picture...|apic",   "File...|geob",       "Involved people...|ipls",
                                 "Comments...|comm",  "Lyrics...|uslt",     "Terms of use...|user",
                                 "",                  "From ID3 tags|@id3"};
const char* const kPageItems[] = {"Lyrics|page1", "ID3 tags|page2", "ID3v2 tags|page3", "File info|page4"};

std::string textPart(const std::string& item) { return item.substr(0, item.find('|')); }
std::string commandPart(const std::string& item) {
  const size_t bar = item.find('|');
  return bar == std::string::npos ? std::string() : item.substr(bar + 1);
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.push_back(line);
    start = end + 1;
  }
  return out;
}

}  // namespace

TInfoWnd::TInfoWnd(std::string rootDir, std::string language)
    : TFrameWnd("info", ui::FrameKind::fixed), rootDir_(std::move(rootDir)), language_(std::move(language)) {
  tag_ = id3v2Create();
}

TInfoWnd::~TInfoWnd() {
  if (hwnd()) {
    saveChanges();
    delBroadcastFilter(reinterpret_cast<ZvTarget>(hwnd()), msgInfoReady);
    // Progress windows must not be owned by a window that is gone.
    forgetProgressOwner(hwnd());
  }
  destroy();
  id3v2Free(tag_);
}

std::string TInfoWnd::tr(const std::string& key, const std::string& text) {
  return lng_ ? lng_->text(key, text) : text;
}

void TInfoWnd::report(const std::string& localised) {
  const size_t hashes = localised.find("###");
  const std::string text =
      hashes == std::string::npos ? localised : tr(localised.substr(0, hashes), localised.substr(hashes + 3));
  if (sink_) sink_(text);
  else MessageBoxA(hwnd(), text.c_str(), "Zorvak", MB_ICONWARNING);
}

bool TInfoWnd::create(HWND owner) {
  lng_ = std::make_unique<ui::WindowLng>(rootDir_, language_, "InfoWnd.lng");
  const std::string caption = tr("InfoWnd", "File information");
  if (!createFrame(rootDir_, caption.c_str(), {kClientWidth, kClientHeight}, owner, false)) return false;
  genres_ = readIdList(idListPath(rootDir_, language_, "genres.id3"));
  buildPages();
  addBroadcastFilter(reinterpret_cast<ZvTarget>(hwnd()), msgInfoReady);
  setProgressHome(hwnd(), rootDir_);
  showPage(pageLyrics);
  lng_->flush();
  return true;
}

HWND TInfoWnd::addControl(const std::string& name, const char* cls, DWORD style, const RECT& r) {
  HWND child = makeChild(hwnd(), cls, style | WS_TABSTOP, r, nextId_++);
  controls_[name] = child;
  addTabStop(child);
  return child;
}

ui::TZText& TInfoWnd::addLabel(int page, const std::string& key, const std::string& text, const RECT& r) {
  auto& label = addElement<ui::TZText>(tr(key, text));
  label.setName(key);
  label.setRect(r);
  pageElements_.push_back({page, &label});
  return label;
}

void TInfoWnd::buildPages() {
  const RECT c = clientRect();
  std::vector<std::string> captions;
  for (int i = 0; i < 4; ++i)
    captions.push_back(textPart(lng_->item("pages[" + std::to_string(i) + "]", kPageItems[i])));
  tabs_ = &addElement<TVerticalTabs>(captions);
  tabs_->setName("pages");
  tabs_->setRect({c.left + 6, c.top + 8, c.left + 6 + kTabWidth, c.top + 8 + 4 * 34});
  tabs_->onSelect = [this](int page) { showPage(page); };

  const RECT p{c.left + kTabWidth + 14, c.top + 8, c.right - 8, c.bottom - 8};
  const int pw = p.right - p.left;

  // Lyrics.
  HWND lyrics = addControl("lyrics", "EDIT", WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, p);
  SendMessageA(lyrics, EM_SETLIMITTEXT, 1 << 20, 0);
  controlPage_["lyrics"] = pageLyrics;

  // ID3.
  struct Field {
    const char* name;
    const char* label;
    int limit;
  };
  const Field fields[] = {{"title", "Title", 30}, {"artist", "Artist", 30}, {"album", "Album", 30},
                          {"comment", "Comment", 28}};
  int y = p.top;
  const int fx = p.left + kLabelWidth;
  for (const Field& f : fields) {
    if (std::strcmp(f.name, "comment") == 0) {
      // Year and track share the row before the comment.
      addLabel(pageId3, "lYear", "Year", {p.left, y + 4, fx, y + 20});
      HWND year = addControl("year", "EDIT", WS_BORDER | ES_AUTOHSCROLL, {fx, y, fx + 48, y + 22});
      SendMessageA(year, EM_SETLIMITTEXT, 4, 0);
      controlPage_["year"] = pageId3;
      addLabel(pageId3, "lTrack", "Track", {fx + 60, y + 4, fx + 100, y + 20});
      HWND track = addControl("track", "EDIT", WS_BORDER | ES_NUMBER, {fx + 104, y, fx + 140, y + 22});
      SendMessageA(track, EM_SETLIMITTEXT, 3, 0);
      controlPage_["track"] = pageId3;
      y += kRowStep;
    }
    addLabel(pageId3, std::string("l") + f.label, f.label, {p.left, y + 4, fx, y + 20});
    HWND edit = addControl(f.name, "EDIT", WS_BORDER | ES_AUTOHSCROLL, {fx, y, p.right, y + 22});
    SendMessageA(edit, EM_SETLIMITTEXT, f.limit, 0);
    controlPage_[f.name] = pageId3;
    y += kRowStep;
  }
  addLabel(pageId3, "lGenre", "Genre", {p.left, y + 4, fx, y + 20});
  HWND genre = addControl("genre", "COMBOBOX", WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT, {fx, y, p.right, y + 22 + 20 * 16});
  controlPage_["genre"] = pageId3;
  for (size_t i = 0; i < genres_.size(); ++i) {
    if (genres_[i].empty()) continue;
    const LRESULT at = SendMessageA(genre, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(genres_[i].c_str()));
    SendMessageA(genre, CB_SETITEMDATA, at, LPARAM(i));
  }
  {
    const std::string unknown = tr("UnknownGenre", "<Unknown>");
    const LRESULT at = SendMessageA(genre, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(unknown.c_str()));
    SendMessageA(genre, CB_SETITEMDATA, at, LPARAM(-1));
  }
  auto& remove = addElement<ui::TZButton>(tr("remove", "Remove ID3"));
  remove.setName("remove");
  remove.setRect({p.right - 100, p.bottom - 26, p.right, p.bottom});
  remove.onClick = [this] { runCommand("remove"); };
  buttons_["remove"] = &remove;
  pageElements_.push_back({pageId3, &remove});

  // ID3v2.
  addControl("id3v2list", "LISTBOX",
             WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_WANTKEYBOARDINPUT,
             {p.left, p.top, p.right, p.bottom - 34});
  controlPage_["id3v2list"] = pageId3v2;
  const int bw = (pw - 12) / 3;
  const char* buttonNames[3][2] = {{"id3v2add", "Add"}, {"id3v2del", "Delete"}, {"id3v2text", "Text fields..."}};
  for (int i = 0; i < 3; ++i) {
    auto& b = addElement<ui::TZButton>(tr(buttonNames[i][0], buttonNames[i][1]));
    b.setName(buttonNames[i][0]);
    const int left = p.left + i * (bw + 6);
    b.setRect({left, p.bottom - 26, i == 2 ? p.right : left + bw, p.bottom});
    buttons_[buttonNames[i][0]] = &b;
    pageElements_.push_back({pageId3v2, &b});
  }
  buttons_["id3v2add"]->onClick = [this] { showAddMenu(); };
  buttons_["id3v2del"]->onClick = [this] { runCommand("del"); };
  buttons_["id3v2text"]->onClick = [this] { runCommand("text"); };

  // File info.
  // Owner-drawn, so that heading lines (the path, a plug-in's "\1" lines)
  // stand out.
  addControl("finfo", "LISTBOX",
             WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, p);
  controlPage_["finfo"] = pageFileInfo;
}

void TInfoWnd::showPage(int page) {
  for (auto& [name, child] : controls_) ShowWindow(child, controlPage_[name] == page ? SW_SHOW : SW_HIDE);
  for (auto& [p, element] : pageElements_) element->setVisible(p == page);
  if (tabs_ && tabs_->selected() != page) tabs_->select(page);
  invalidateRect(clientRect());
}

void TInfoWnd::selectPage(int page) {
  if (tabs_) tabs_->select(page);
  showPage(page);
}

HWND TInfoWnd::control(const std::string& name) const {
  auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second;
}

ui::TZButton* TInfoWnd::button(const std::string& name) const {
  auto it = buttons_.find(name);
  return it == buttons_.end() ? nullptr : it->second;
}

// ---- Showing a file ----

void TInfoWnd::showFile(const std::string& path) {
  pendingPath_ = path;
  hasPending_ = true;
  if (busy_) return;
  // A file asked for while the pages were saved or loaded (a message box
  // runs the message loop) is taken in turn, the newest last.
  while (hasPending_) {
    busy_ = true;
    if (!path_.empty()) savePages();
    const std::string next = std::move(pendingPath_);
    pendingPath_.clear();
    hasPending_ = false;
    path_ = next;
    char caption[ZV_DESC_SIZE] = {};
    if (!path_.empty()) desc(path_.c_str(), caption);
    SetWindowTextA(hwnd(), caption[0] ? caption : tr("InfoWnd", "File information").c_str());
    invalidateRect({0, 0, clientSize().cx, clientRect().top});
    loadPages();
    busy_ = false;
  }
}

// Told from inside a playback step: the file is shown from the message
// loop, so that saving the pages (which may ask the user) never runs in the
// middle of that step.
void TInfoWnd::currentFileChanged(const std::string& path) {
  if (!followsCurrent_ || !hwnd() || !IsWindowVisible(hwnd())) return;
  followPath_ = path;
  if (!followPosted_) followPosted_ = PostMessageA(hwnd(), kMsgFollowCurrent, 0, 0) != FALSE;
}

void TInfoWnd::followCurrent() {
  followPosted_ = false;
  // Meanwhile shown for an editor's line, or closed: it keeps what it shows.
  if (!followsCurrent_ || !IsWindowVisible(hwnd())) return;
  if (followPath_ == (hasPending_ ? pendingPath_ : path_)) return;
  showFile(followPath_);
}

void TInfoWnd::showPending() {
  if (!busy_ && hasPending_) showFile(std::string(pendingPath_));
}

void TInfoWnd::loadPages() {
  filling_ = true;
  loadLyrics();
  loadFileInfo();
  loadId3();
  loadId3v2();
  filling_ = false;
}

void TInfoWnd::loadLyrics() {
  HWND memo = control("lyrics");
  lyricsPath_ = findLyricsFile(path_, rootDir_, false);
  const auto text = readLyrics(lyricsPath_);
  SetWindowTextA(memo, text ? text->c_str() : "");
  SendMessageA(memo, EM_SETMODIFY, FALSE, 0);
  EnableWindow(memo, !path_.empty());
}

void TInfoWnd::loadFileInfo() {
  HWND list = control("finfo");
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  const LRESULT header = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path_.c_str()));
  SendMessageA(list, LB_SETITEMDATA, header, 1);
  auto rec = std::make_unique<ZvFileCheckRec>();
  rec->fileName = path_.c_str();
  rec->request = ZV_CHECK_PLAYABLE | ZV_CHECK_TYPE_NAME | ZV_CHECK_INFO_TEXT;
  const bool answered = !path_.empty() && checkFile(rec.get()) == 0;
  bool fixedPitch = false;
  if (!answered) {
    const std::string na = tr("InfoNA", "Info unavailable");
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(na.c_str()));
    caps_ = 0;
  } else {
    rec->typeName[sizeof(rec->typeName) - 1] = 0;
    rec->infoText[sizeof(rec->infoText) - 1] = 0;
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rec->typeName));
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(""));
    for (std::string line : lines(rec->infoText)) {
      // A leading 1 marks a heading line.
      const bool heading = !line.empty() && line[0] == '\001';
      if (heading) line.erase(0, 1);
      const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
      SendMessageA(list, LB_SETITEMDATA, at, heading ? 1 : 0);
    }
    fixedPitch = rec->infoFixedPitch != 0;
    // Whether the file keeps tags is the tag library's to say (readTag and
    // id3v2Load answer 2 for a type without them).
    caps_ = capId3 | capId3v2;
  }
  // Cyrillic only where the language is Russian; elsewhere the system's
  // own character set shows the information texts.
  const BYTE charset = fixedPitch ? OEM_CHARSET : language_ == "ru" ? RUSSIAN_CHARSET : DEFAULT_CHARSET;
  const char* face = fixedPitch ? "Lucida Console" : "Tahoma";
  infoFont_.reset(CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, charset, 0, 0, 0, 0, face));
  infoBold_.reset(CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, charset, 0, 0, 0, 0, face));
  SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(infoFont_.get()), TRUE);
}

void TInfoWnd::fillId3(const Id3Values& v) {
  SetWindowTextA(control("title"), v.title.c_str());
  SetWindowTextA(control("artist"), v.artist.c_str());
  SetWindowTextA(control("album"), v.album.c_str());
  SetWindowTextA(control("year"), v.year.c_str());
  SetWindowTextA(control("comment"), v.comment.c_str());
  SetWindowTextA(control("track"), trackText(v.track).c_str());
  HWND genre = control("genre");
  SendMessageA(genre, CB_SETCURSEL, WPARAM(-1), 0);
  if (v.genre >= 0) {
    const int n = int(SendMessageA(genre, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
      if (SendMessageA(genre, CB_GETITEMDATA, i, 0) == v.genre) SendMessageA(genre, CB_SETCURSEL, i, 0);
  }
}

Id3Values TInfoWnd::id3FromPage() const {
  Id3Values v;
  v.title = windowText(control("title"));
  v.artist = windowText(control("artist"));
  v.album = windowText(control("album"));
  v.year = windowText(control("year"));
  v.comment = windowText(control("comment"));
  v.track = trackFromText(windowText(control("track")));
  HWND genre = control("genre");
  const LRESULT sel = SendMessageA(genre, CB_GETCURSEL, 0, 0);
  v.genre = sel == CB_ERR ? -1 : int(SendMessageA(genre, CB_GETITEMDATA, sel, 0));
  return v;
}

void TInfoWnd::enableId3(bool on) {
  for (const char* name : {"title", "artist", "album", "year", "track", "comment", "genre"})
    EnableWindow(control(name), on);
  if (auto* b = button("remove")) b->setEnabled(on);
}

void TInfoWnd::loadId3() {
  int32_t result = 2;
  ZvId3v1Tag tag{};
  if ((caps_ & capId3) && !path_.empty()) result = readTag(path_.c_str(), &tag);
  if (result == 0) {
    fillId3(valuesOfTag(tag, genres_.size()));
    enableId3(true);
  } else {
    fillId3({});
    enableId3(result != 2);
    if (result != 2 && result != 1) report("ID3ReadErr###Error reading ID3 tags");
  }
  id3Dirty_ = false;
}

void TInfoWnd::enableId3v2(bool on) {
  EnableWindow(control("id3v2list"), on);
  for (const char* name : {"id3v2add", "id3v2del", "id3v2text"})
    if (auto* b = button(name)) b->setEnabled(on);
}

void TInfoWnd::loadId3v2() {
  id3v2Loaded_ = false;
  if ((caps_ & capId3v2) && !path_.empty()) {
    const int32_t result = id3v2Load(tag_, path_.c_str());
    // Result 1 (no tag yet) still allows one to be written.
    id3v2Loaded_ = result == 0 || result == 1;
  } else {
    id3v2Load(tag_, "");  // empties the handle
  }
  if (!id3v2Loaded_) id3v2Load(tag_, "");
  enableId3v2(id3v2Loaded_);
  id3v2Dirty_ = false;
  rebuildFrameList(0);
}

void TInfoWnd::rebuildFrameList(int select) {
  HWND list = control("id3v2list");
  lines_ = id3v2Loaded_ ? info::frameLines(tag_) : std::vector<FrameLine>{};
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const FrameLine& line : lines_) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.text.c_str()));
  if (!lines_.empty()) SendMessageA(list, LB_SETCURSEL, std::clamp<int>(select, 0, int(lines_.size()) - 1), 0);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

int TInfoWnd::selectedLine() const {
  const LRESULT sel = SendMessageA(control("id3v2list"), LB_GETCURSEL, 0, 0);
  return sel == LB_ERR || sel >= LRESULT(lines_.size()) ? -1 : int(sel);
}

// ---- Saving ----

void TInfoWnd::saveChanges() {
  if (path_.empty() || busy_) return;
  busy_ = true;
  savePages();
  busy_ = false;
  showPending();
}

void TInfoWnd::savePages() {
  saveLyrics();
  if (id3Dirty_) saveId3();
  if (id3v2Loaded_ && id3v2Dirty_) saveId3v2();
}

void TInfoWnd::saveLyrics() {
  HWND memo = control("lyrics");
  if (!SendMessageA(memo, EM_GETMODIFY, 0, 0)) return;
  const std::string text = windowText(memo);
  if (!text.empty()) {
    const std::string target = findLyricsFile(path_, rootDir_, true);
    if (target.empty() || !writeLyrics(target, text)) report("ErrorSaving###Error saving" + std::string(" ") + target);
    else lyricsPath_ = target;
  } else if (!lyricsPath_.empty()) {
    deleteLyrics(lyricsPath_);
  }
  SendMessageA(memo, EM_SETMODIFY, FALSE, 0);
}

void TInfoWnd::saveId3() {
  const ZvId3v1Tag tag = tagOfValues(id3FromPage());
  const int32_t result = writeTag(path_.c_str(), &tag);
  if (result == 2) report("ID3UnsuppFile###Unsupported file format for ID3 tags");
  else if (result != 0) report("ID3WriteErr###Error writing ID3 tags");
  setDesc(path_.c_str(), "");
  id3Dirty_ = false;
}

void TInfoWnd::saveId3v2() {
  const int32_t result = id3v2Save(tag_, path_.c_str(), 0, tagProgress);
  if (result == 3) {
    report("ID3v2WriteErr###Error writing ID3v2 tags");
    return;
  }
  setDesc(path_.c_str(), "");
  id3v2Dirty_ = false;
}

void TInfoWnd::removeId3() {
  if (path_.empty()) return;
  const int32_t result = removeTag(path_.c_str());
  if (result != 0 && result != 1 && result != 2) report("ID3RemoveErr###Error removing ID3 tags");
  setDesc(path_.c_str(), "");
  filling_ = true;
  loadId3();
  filling_ = false;
}

// ---- ID3v2 editing ----

// While an editor is open the window is busy: the editor holds a frame of
// the loaded tag, which showing another file would free under it. A file
// asked for meanwhile is shown once the edit is taken (showPending).
bool TInfoWnd::editFrame(ZvId3v2Frame frame) {
  TFrameEditorWnd editor(frame, {rootDir_, language_});
  busy_ = true;
  const bool ok = runner_ && runner_(editor, hwnd());
  busy_ = false;
  return ok;
}

void TInfoWnd::addFrame(const std::string& id) {
  if (!id3v2Loaded_) return;
  ZvId3v2Frame frame = id3v2AddFrame(tag_, id.c_str());
  if (!frame) return;
  if (!editFrame(frame)) {
    id3v2DelFrame(tag_, frame);
    return showPending();
  }
  id3v2Dirty_ = true;
  rebuildFrameList(0);
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].frame == frame) SendMessageA(control("id3v2list"), LB_SETCURSEL, i, 0);
  showPending();
}

void TInfoWnd::editSelectedFrame() {
  const int line = selectedLine();
  if (line < 0 || !id3v2Loaded_) return;
  ZvId3v2Frame frame = lines_[line].frame;
  if (!editFrame(frame)) return showPending();
  id3v2Dirty_ = true;
  rebuildFrameList(line);
  showPending();
}

void TInfoWnd::deleteSelectedFrame() {
  const int line = selectedLine();
  if (line < 0 || !id3v2Loaded_) return;
  id3v2DelFrame(tag_, lines_[line].frame);
  id3v2Dirty_ = true;
  rebuildFrameList(line);
}

void TInfoWnd::fromId3Tags() {
  if (!id3v2Loaded_) return;
  std::string pluginTags;
  if (!path_.empty()) {
    auto rec = std::make_unique<ZvFileCheckRec>();
    rec->fileName = path_.c_str();
    rec->request = ZV_CHECK_TAG_TEXT;
    if (checkFile(rec.get()) == 0) {
      rec->tagText[sizeof(rec->tagText) - 1] = 0;
      pluginTags = rec->tagText;
    }
  }
  framesFromId3(tag_, id3FromPage(), path_, pluginTags);
  id3v2Dirty_ = true;
  rebuildFrameList(selectedLine());
}

void TInfoWnd::editTextFields() {
  if (!id3v2Loaded_) return;
  TTextFieldsWnd grid(tag_, rootDir_, language_);
  busy_ = true;
  const bool ok = textFieldsRunner_ && textFieldsRunner_(grid, hwnd());
  busy_ = false;
  if (ok && grid.changed()) {
    id3v2Dirty_ = true;
    rebuildFrameList(selectedLine());
  }
  showPending();
}

void TInfoWnd::runCommand(const std::string& command) {
  if (command == "remove") return removeId3();
  if (command == "del") return deleteSelectedFrame();
  if (command == "text") return editTextFields();
  if (command == "@id3") return fromId3Tags();
  if (command.size() == 4) return addFrame(command);
}

void TInfoWnd::showAddMenu() {
  if (!id3v2Loaded_) return;
  UniqueMenu menu(CreatePopupMenu());
  std::vector<std::string> commands;
  for (size_t i = 0; i < std::size(kAddItems); ++i) {
    const std::string item = lng_->item("id3v2add[" + std::to_string(i) + "]", kAddItems[i]);
    if (textPart(item).empty()) {
      AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    commands.push_back(commandPart(item));
    AppendMenuA(menu.get(), MF_STRING, commands.size(), textPart(item).c_str());
  }
  lng_->flush();
  const RECT r = button("id3v2add")->rect();
  POINT at{r.left, r.bottom};
  ClientToScreen(hwnd(), &at);
  const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_LEFTALIGN, at.x, at.y, 0, hwnd(), nullptr);
  if (chosen > 0 && size_t(chosen) <= commands.size()) runCommand(commands[chosen - 1]);
}

// ---- Messages ----

void TInfoWnd::onCommand(int id, int code, HWND child) {
  (void)id;
  if (filling_) return;
  if (code == EN_CHANGE || code == CBN_SELCHANGE) {
    for (const char* name : {"title", "artist", "album", "year", "track", "comment", "genre"})
      if (control(name) == child) id3Dirty_ = true;
  } else if (code == LBN_DBLCLK && child == control("id3v2list")) {
    editSelectedFrame();
  }
}

void TInfoWnd::onInfoReady(const MSG& m) {
  auto result = std::make_unique<ZvQueryResult>();
  getMsgPrm(&m, result.get());
  result->path[sizeof(result->path) - 1] = 0;
  result->description[sizeof(result->description) - 1] = 0;
  if (!path_.empty() && lstrcmpiA(result->path, path_.c_str()) == 0 && result->description[0]) {
    SetWindowTextA(hwnd(), result->description);
    invalidateRect({0, 0, clientSize().cx, clientRect().top});
  }
}

void TInfoWnd::paintOver(HDC, int, int) {}

void TInfoWnd::drawInfoLine(const DRAWITEMSTRUCT& item) {
  if (item.itemID == UINT(-1)) return;
  const ui::ControlArt& art = ui::controlArt();
  const int n = int(SendMessageA(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0));
  std::string text(size_t(std::max(0, n)) + 1, '\0');
  SendMessageA(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::strlen(text.c_str()));
  const bool heading = item.itemData == 1;
  const LRESULT background = colors_.answer(item.hDC, false);
  RECT r = item.rcItem;
  FillRect(item.hDC, &r, reinterpret_cast<HBRUSH>(background));
  SelectedObject font(item.hDC, heading ? infoBold_.get() : infoFont_.get());
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, heading ? art.accent : art.text);
  r.left += 2;
  // The path keeps its file name in view.
  const UINT cut = item.itemID == 0 ? DT_PATH_ELLIPSIS : DT_END_ELLIPSIS;
  ui::drawActiveText(item.hDC, text.c_str(), -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | cut);
}

LRESULT TInfoWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (zv::answerHelpKey(hwnd(), message, "info.html")) return TRUE;
  switch (message) {
    case kMsgFollowCurrent:
      followCurrent();
      return 0;
    case msgInfoReady: {
      MSG m{hwnd(), message, wParam, lParam, 0, {0, 0}};
      onInfoReady(m);
      finishMsg(&m);
      return 0;
    }
    case WM_COMMAND:
      onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 14;
      return TRUE;
    case WM_DRAWITEM:
      if (reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem == control("finfo")) {
        drawInfoLine(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
      }
      break;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        PostMessageA(hwnd(), WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_VKEYTOITEM:
      if (reinterpret_cast<HWND>(lParam) == control("id3v2list")) {
        if (LOWORD(wParam) == VK_DELETE) return runCommand("del"), -2;
        if (LOWORD(wParam) == VK_INSERT) return showAddMenu(), -2;
        if (LOWORD(wParam) == VK_RETURN) return editSelectedFrame(), -2;
      }
      return -1;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      return colors_.answer(reinterpret_cast<HDC>(wParam), false);
    case WM_CTLCOLORSTATIC:
      return colors_.answer(reinterpret_cast<HDC>(wParam), true);
    case WM_CLOSE:
      // Closing hides: the window lives as long as the player.
      saveChanges();
      ShowWindow(hwnd(), SW_HIDE);
      return 0;
    default: break;
  }
  return TFrameWnd::handle(message, wParam, lParam);
}

}  // namespace zv::info
