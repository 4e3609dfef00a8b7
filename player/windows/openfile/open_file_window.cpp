#include "openfile/open_file_window.h"

#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include "field_colors.h"
#include "openfile/open_file_list_item.h"

namespace zv {
namespace {

constexpr SIZE kClientSize{500, 340};
constexpr int kMargin = 12, kQuickWidth = 84, kRow = 24;
constexpr int kListId = 101, kPathId = 102;

// A line's own text keeps the "[name]" form of folders: it is what the list
// gives to screen readers and to the keyboard's look-up, and what is shown
// when the pictures are missing.
std::string listText(const openfile::FolderEntry& e) { return e.folder ? "[" + e.name + "]" : e.name; }

}  // namespace

TOpenFileWnd::TOpenFileWnd() : ui::TFrameWnd("openfile", ui::FrameKind::dialog) {}
TOpenFileWnd::~TOpenFileWnd() { destroy(); }

std::string TOpenFileWnd::tr(const char* localised) const {
  if (options_.translate) return options_.translate(localised);
  const char* text = strstr(localised, "###");
  return text ? text + 3 : localised;
}

bool TOpenFileWnd::create(const std::string& root, HWND owner, OpenFileOptions options) {
  options_ = std::move(options);
  if (!createFrame(root, tr("OpenFile###Open file").c_str(), kClientSize, owner, false)) return false;
  const RECT c = clientRect();
  const bool quick = !options_.quickFolders.empty();
  const int left = c.left + kMargin + (quick ? kQuickWidth + 8 : 0);
  int y = c.top + kMargin;

  addElement<ui::TZText>(tr("LookIn###Look in:"), DT_LEFT | DT_SINGLELINE | DT_VCENTER)
      .setRect({left, y, left + 64, y + 22});
  path_.reset(CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, left + 66, y,
                              c.right - kMargin - 72 - (left + 66), 22, hwnd(), reinterpret_cast<HMENU>(kPathId),
                              thisModule(), nullptr));
  SendMessageA(path_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(ui::controlFont()), TRUE);
  addTabStop(path_.get());
  up_ = &addElement<ui::TZButton>(tr("Up###Up"));
  up_->setRect({c.right - kMargin - 64, y, c.right - kMargin, y + 22});
  up_->onClick = [this] { navigate(openfile::parentFolder(folder_)); };
  y += 30;

  // The quick folders: a column of buttons beside the list.
  int qy = y;
  for (const std::string& f : options_.quickFolders) {
    if (qy + kRow > c.bottom - 72) break;
    std::string caption = f;
    if (caption.size() > 3) caption = caption.substr(caption.find_last_of('\\') + 1);
    auto& b = addElement<ui::TZButton>(caption);
    b.setRect({c.left + kMargin, qy, c.left + kMargin + kQuickWidth, qy + kRow - 2});
    b.setHint(f);
    b.onClick = [this, f] { navigate(f); };
    quick_.push_back(&b);
    qy += kRow + 2;
  }

  const int listBottom = c.bottom - 74;
  kindPictures_ = ui::SkinBitmap(ui::loadBitmapFile(root + "\\skins\\controls\\filekinds.bmp"));
  // Drawn by the dialog: each line with the picture of its kind.
  list_.reset(CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL |
                                  LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
                              left, y, c.right - kMargin - left, listBottom - y, hwnd(),
                              reinterpret_cast<HMENU>(kListId), thisModule(), nullptr));
  SendMessageA(list_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(ui::controlFont()), TRUE);
  SendMessageA(list_.get(), LB_SETITEMHEIGHT, 0, openfile::listRowHeight(list_.get()));
  addTabStop(list_.get());

  y = listBottom + 8;
  add_ = &addElement<ui::TZCheck>(tr("AddToPl###Add to existing playlist"), options_.addToPlaylist);
  add_->setRect({left, y, c.right - kMargin, y + 20});
  play_ = &addElement<ui::TZCheck>(tr("PlayOpened###Play opened files"), options_.playOpened);
  play_->setRect({left, y + 22, left + 220, y + 42});
  open_ = &addElement<ui::TZButton>(tr("Open###Open"));
  open_->setRect({c.right - 184, c.bottom - 34, c.right - 104, c.bottom - 10});
  open_->onClick = [this] {
    if (selection().empty()) {
      openTyped();
    } else {
      answer(true);
    }
  };
  cancel_ = &addElement<ui::TZButton>(tr("Cancel###Cancel"));
  cancel_->setRect({c.right - 94, c.bottom - 34, c.right - 14, c.bottom - 10});
  cancel_->onClick = [this] { answer(false); };

  if (!navigate(options_.folder)) {
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof(current), current);
    navigate(current);
  }
  return true;
}

bool TOpenFileWnd::navigate(const std::string& folder) {
  if (folder.empty()) return false;
  const DWORD attributes = GetFileAttributesA(folder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  folder_ = folder;
  const std::vector<std::string>& extensions = options_.extensions;
  entries_ = openfile::listFolder(folder_, [&](const std::string& name) { return openfile::isListedFile(name, extensions); });
  SetWindowTextA(path_.get(), folder_.c_str());
  fillList();
  return true;
}

void TOpenFileWnd::fillList() {
  SendMessageA(list_.get(), WM_SETREDRAW, FALSE, 0);
  SendMessageA(list_.get(), LB_RESETCONTENT, 0, 0);
  for (const auto& e : entries_)
    SendMessageA(list_.get(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(listText(e).c_str()));
  SendMessageA(list_.get(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_.get(), nullptr, TRUE);
}

std::vector<openfile::FolderEntry> TOpenFileWnd::selection() const {
  std::vector<openfile::FolderEntry> chosen;
  const int count = static_cast<int>(SendMessageA(list_.get(), LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count && i < static_cast<int>(entries_.size()); ++i)
    if (SendMessageA(list_.get(), LB_GETSEL, i, 0) > 0)
      chosen.push_back({openfile::joinPath(folder_, entries_[i].name), entries_[i].folder});
  return chosen;
}

void TOpenFileWnd::activate() {
  const auto chosen = selection();
  if (chosen.size() == 1 && chosen[0].folder) {
    navigate(chosen[0].name);
  } else if (!chosen.empty()) {
    answer(true);
  }
}

void TOpenFileWnd::openTyped() {
  char text[MAX_PATH] = {};
  GetWindowTextA(path_.get(), text, sizeof(text));
  std::string typed = text;
  if (typed.empty()) return;
  // A name alone is taken in the folder shown.
  if (typed.find('\\') == std::string::npos && typed.find(':') == std::string::npos)
    typed = openfile::joinPath(folder_, typed);
  const DWORD attributes = GetFileAttributesA(typed.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    navigate(typed);
  } else if (attributes != INVALID_FILE_ATTRIBUTES) {
    typed_ = {{typed, false}};
    answer(true);
  } else {
    MessageBeep(MB_ICONWARNING);
  }
}

void TOpenFileWnd::answer(bool open) {
  if (answered_) return;
  answered_ = true;
  if (open) {
    OpenFileChoice choice;
    choice.chosen = typed_.empty() ? selection() : typed_;
    choice.folder = folder_;
    choice.addToPlaylist = add_->checked();
    choice.playOpened = play_->checked();
    result_ = std::move(choice);
  }
  if (HWND owner = GetWindow(hwnd(), GW_OWNER)) EnableWindow(owner, TRUE);
  ShowWindow(hwnd(), SW_HIDE);
}

LRESULT TOpenFileWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      answer(false);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        answer(false);
        return 0;
      }
      if (wParam == VK_RETURN && focusedElement() != cancel_ && focusedElement() != up_) {
        activate();
        return 0;
      }
      break;
    case WM_COMMAND:
      if (LOWORD(wParam) == kListId && HIWORD(wParam) == LBN_DBLCLK) {
        activate();
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (wParam != kListId || !item) break;
      if (item->itemID < entries_.size()) {
        char text[MAX_PATH] = {};
        if (SendMessageA(list_.get(), LB_GETTEXTLEN, item->itemID, 0) < static_cast<LRESULT>(sizeof(text)))
          SendMessageA(list_.get(), LB_GETTEXT, item->itemID, reinterpret_cast<LPARAM>(text));
        openfile::drawListItem(*item, entries_[item->itemID], text, kindPictures_);
      } else if (item->itemState & ODS_FOCUS) {
        DrawFocusRect(item->hDC, &item->rcItem);  // the empty list's focus
      }
      return TRUE;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(ui::fieldColors(reinterpret_cast<HDC>(wParam), message != WM_CTLCOLORSTATIC));
    default:
      break;
  }
  return ui::TFrameWnd::handle(message, wParam, lParam);
}

std::optional<OpenFileChoice> TOpenFileWnd::runModal() {
  HWND owner = GetWindow(hwnd(), GW_OWNER);
  RECT r{}, o{};
  GetWindowRect(hwnd(), &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  // Over the owner's middle, kept on the screen.
  if (owner && GetWindowRect(owner, &o)) {
    int x = (o.left + o.right - w) / 2, y = (o.top + o.bottom - h) / 2;
    x = std::max(0, std::min(x, GetSystemMetrics(SM_CXSCREEN) - w));
    y = std::max(0, std::min(y, GetSystemMetrics(SM_CYSCREEN) - h));
    SetWindowPos(hwnd(), HWND_TOP, x, y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  } else {
    SetWindowPos(hwnd(), HWND_TOP, (GetSystemMetrics(SM_CXSCREEN) - w) / 2, (GetSystemMetrics(SM_CYSCREEN) - h) / 2, 0,
                 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  }
  SetForegroundWindow(hwnd());
  SetFocus(list_.get());
  const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  MSG msg{};
  while (!answered_) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: the quit goes on to the main loop.
      PostQuitMessage(got == 0 ? static_cast<int>(msg.wParam) : 0);
      answer(false);
      break;
    }
    if (msg.message == WM_KEYDOWN && (msg.hwnd == path_.get() || msg.hwnd == list_.get())) {
      if (msg.wParam == VK_ESCAPE) {
        answer(false);
        continue;
      }
      if (msg.wParam == VK_RETURN) {
        msg.hwnd == path_.get() ? openTyped() : activate();
        continue;
      }
      if (msg.wParam == VK_BACK && msg.hwnd == list_.get()) {
        navigate(openfile::parentFolder(folder_));
        continue;
      }
    }
    if (ui::TSkinnedWnd::translateUiMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  if (ownerWasEnabled) {
    EnableWindow(owner, TRUE);
    SetForegroundWindow(owner);
  }
  return result_;
}

std::vector<std::string> defaultQuickFolders() {
  std::vector<std::string> folders;
  char music[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_MYMUSIC, nullptr, SHGFP_TYPE_CURRENT, music)) &&
      GetFileAttributesA(music) != INVALID_FILE_ATTRIBUTES)
    folders.push_back(music);
  const DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) continue;
    const std::string root = std::string(1, static_cast<char>('A' + i)) + ":\\";
    const UINT type = GetDriveTypeA(root.c_str());
    if (type == DRIVE_FIXED || type == DRIVE_REMOVABLE || type == DRIVE_CDROM || type == DRIVE_REMOTE)
      folders.push_back(root);
  }
  return folders;
}

}  // namespace zv
