#include "debugstat/debug_stat_window.h"

#include "skinned_window.h"
#include "zv_memory.h"
#include "help_request.h"

namespace zv {

namespace {

constexpr UINT_PTR kTimer = 1;
enum { idThreads = 100, idMemory };

}  // namespace

DebugStatSource engineDebugStatSource() {
  return {[] {
            std::string text(4096, '\0');
            debugGetThreadList(text.data());
            text.resize(text.find('\0') == std::string::npos ? text.size() : text.find('\0'));
            return text;
          },
          [] {
            MallocStat s{};
            if (const int32_t* stat = debugGetMallocStat())
              for (int i = 0; i < ZV_STAT_COUNT; ++i) s[i] = stat[i];
            return s;
          },
          [] { return ui::graphicsBufferBytes(); }};
}

TDebugStatWnd::TDebugStatWnd(std::string root, DebugStatSource source, std::string langDir, std::string language)
    : TFrameWnd("DebugStatWnd", ui::FrameKind::dialog), root_(std::move(root)),
      langDir_(langDir.empty() ? root_ + "\\lang" : std::move(langDir)),
      language_(language.empty() ? setupui::currentLanguage() : std::move(language)), source_(std::move(source)),
      pages_(*this) {}

bool TDebugStatWnd::open(HWND owner) {
  texts_ = std::make_unique<setupui::WindowTexts>(langDir_, language_, "DebugStatWnd");
  if (!createFrame(root_, texts_->caption("DebugStatWnd", "Resources usage").c_str(), {440, 300}, owner)) return false;
  const RECT c = clientRect();
  const char* captions[] = {"Threads", "Memory"};
  for (int p = 0; p < 2; ++p) {
    auto& tab = pages_.element<ui::TZButton>({c.left + 12 + p * 100, c.top + 10, c.left + 108 + p * 100, c.top + 34},
                                             texts_->item("Pages", p, captions[p]));
    tab.setName(p == 0 ? "List" : "List1");
    tab.onClick = [this, p] { showPage(p); };
    pageRow_.add(tab);
  }
  pageRow_.setMarker(pages_.element<setupui::TPageMarker>(RECT{}));
  const RECT area{c.left + 12, c.top + 42, c.right - 12, c.bottom - 12};
  const DWORD style = WS_BORDER | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_NOSEL;
  pages_.setBuildPage(0);
  threads_ = pages_.child("LISTBOX", "", style, area, idThreads);
  pages_.setBuildPage(1);
  memory_ = pages_.child("LISTBOX", "", style, area, idMemory);
  LOGFONTA font{};
  GetObjectA(ui::controlFont(), sizeof(font), &font);
  font.lfWeight = FW_BOLD;
  headingFont_.reset(CreateFontIndirectA(&font));
  {
    WindowDc dc(threads_);
    SelectedObject selected(dc.get(), ui::controlFont());
    threadStops_ = threadTabStops([&](const char* text) {
      SIZE size{};
      GetTextExtentPoint32A(dc.get(), text, lstrlenA(text), &size);
      return static_cast<int>(size.cx);
    });
  }
  showPage(0);
  refresh();
  SetTimer(hwnd(), kTimer, 1000, nullptr);
  return true;
}

void TDebugStatWnd::showPage(int page) {
  pages_.show(page);
  pageRow_.select(page);
}

void TDebugStatWnd::fill(HWND list, const std::vector<std::string>& lines) {
  const LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  for (const std::string& line : lines) SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  SendMessageA(list, LB_SETTOPINDEX, top, 0);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

void TDebugStatWnd::refresh() {
  fill(threads_, splitLines(source_.threadList()));
  const MallocStat current = source_.mallocStat();
  fill(memory_, memoryPageLines(current, previous_, source_.graphicsBufferBytes()));
  previous_ = current;
}

std::vector<std::string> TDebugStatWnd::listLines(HWND list) {
  std::vector<std::string> lines;
  const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::string text(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)) + 1, '\0');
    SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.pop_back();
    lines.push_back(text);
  }
  return lines;
}

void TDebugStatWnd::drawItem(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1)) return;
  std::string text(static_cast<size_t>(SendMessageA(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0)) + 1, '\0');
  SendMessageA(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
  text.pop_back();
  const bool heading = !text.empty() && text[0] == kHeadingMark;
  const bool busy = !text.empty() && text[0] == '\x02';
  if (heading || busy) text.erase(0, 1);
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, busy ? RGB(200, 30, 30) : GetSysColor(COLOR_WINDOWTEXT));
  SelectedObject font(item.hDC, heading ? headingFont_.get() : ui::controlFont());
  std::vector<int> stops = item.hwndItem == threads_ ? threadStops_
                                                      : std::vector<int>(std::begin(kMemoryTabStops), std::end(kMemoryTabStops));
  TabbedTextOutA(item.hDC, item.rcItem.left + 4, item.rcItem.top + 1, text.c_str(), static_cast<int>(text.size()),
                 static_cast<int>(stops.size()), stops.data(), item.rcItem.left + 4);
}

LRESULT TDebugStatWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (zv::answerHelpKey(hwnd(), message, "resusage.html")) return TRUE;
  switch (message) {
    case WM_TIMER:
      if (wParam == kTimer) refresh();
      return 0;
    case WM_MEASUREITEM:
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 16;
      return TRUE;
    case WM_DRAWITEM:
      drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_DESTROY:
      KillTimer(hwnd(), kTimer);
      break;
    case WM_NCDESTROY:
      pages_.windowDestroyed();
      break;
  }
  return TFrameWnd::handle(message, wParam, lParam);
}

}  // namespace zv
