#include "about/about_window.h"

#include <vector>

#include "about/program_version.h"
#include "gdi_text.h"
#include "about/third_party.h"
#include "win32/owners.h"

namespace zv {
namespace {

// The program's icon (the first icon of zorvak.exe); nothing where the
// running program has none.
class ProgramIcon : public ui::UiElement {
 public:
  ProgramIcon()
      : icon_(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "IDI_0_PROGRAM", IMAGE_ICON, 48, 48, 0))) {}
  void paint(HDC dc) override {
    if (icon_) DrawIconEx(dc, rect().left, rect().top, icon_.get(), 48, 48, 0, nullptr, DI_NORMAL);
  }

 private:
  UniqueIcon icon_;
};

}  // namespace

std::string aboutLibraryLine(size_t index) {
  const auto libraries = thirdPartyLibraries();
  if (index >= libraries.size()) return {};
  const ThirdPartyLibrary& l = libraries[index];
  return std::string(l.name) + " " + l.version + " - " + l.licence + "\n    in " + l.shippedIn;
}

TAboutWnd::TAboutWnd() : ui::TFrameWnd("about", ui::FrameKind::dialog) {}

// The height `text` takes at `width` in the controls' font.
static int textHeight(const std::string& text, int width) {
  UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  const HGDIOBJ old = SelectObject(dc.get(), ui::controlFont());
  RECT r{0, 0, width, 0};
  ui::drawActiveText(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  SelectObject(dc.get(), old);
  return r.bottom + 4;
}

bool TAboutWnd::create(const std::string& root, HWND owner) {
  constexpr int kWidth = 460, kListIndent = 24, kMargin = 16;
  const int count = static_cast<int>(thirdPartyLibraries().size());
  std::vector<int> heights;
  int listHeight = 0;
  for (int i = 0; i < count; ++i) {
    heights.push_back(textHeight(aboutLibraryLine(static_cast<size_t>(i)), kWidth - kListIndent - kMargin));
    listHeight += heights.back();
  }
  const SIZE size{kWidth, 106 + listHeight + 48};
  if (!createFrame(root, "About Zorvak", size, owner)) return false;
  const RECT c = clientRect();
  const int x = c.left + kMargin, y = c.top + 14, textX = x + 64;
  addElement<ProgramIcon>().setRect({x, y, x + 48, y + 48});
  addElement<ui::TZText>(std::string(kProgramName) + " " + kProgramVersion).setRect({textX, y + 2, c.right - 16, y + 20});
  addElement<ui::TZText>("A skinnable audio player for Windows.").setRect({textX, y + 22, c.right - 16, y + 40});
  addElement<ui::TZText>("Outside libraries in this build and their licences:")
      .setRect({x, y + 66, c.right - 16, y + 84});
  int top = y + 92;
  for (int i = 0; i < count; ++i) {
    addElement<ui::TZText>(aboutLibraryLine(static_cast<size_t>(i)))
        .setRect({c.left + kListIndent, top, c.right - kMargin, top + heights[i]});
    top += heights[i];
  }
  ok_ = &addElement<ui::TZButton>("OK");
  ok_->setRect({c.right - 96, c.bottom - 34, c.right - 16, c.bottom - 10});
  ok_->onClick = [this] { ShowWindow(hwnd(), SW_HIDE); };
  setFocusElement(ok_);
  return true;
}

void TAboutWnd::bringToFront() {
  ShowWindow(hwnd(), SW_SHOWNORMAL);
  SetForegroundWindow(hwnd());
}

LRESULT TAboutWnd::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  // Closing only hides it: the next "about" shows the same window.
  if (message == WM_CLOSE || (message == WM_KEYDOWN && (wParam == VK_ESCAPE || wParam == VK_RETURN))) {
    storePosition();
    ShowWindow(hwnd(), SW_HIDE);
    return 0;
  }
  return ui::TFrameWnd::handle(message, wParam, lParam);
}

}  // namespace zv
