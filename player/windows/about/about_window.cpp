#include "about/about_window.h"

#include "about/program_version.h"
#include "about/third_party.h"
#include "win32/owners.h"

namespace zv {
namespace {

constexpr int kLineHeight = 30;

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

bool TAboutWnd::create(const std::string& root, HWND owner) {
  const int count = static_cast<int>(thirdPartyLibraries().size());
  const SIZE size{440, 120 + count * kLineHeight + 44};
  if (!createFrame(root, "About Zorvak", size, owner)) return false;
  const RECT c = clientRect();
  const int x = c.left + 16, y = c.top + 14, textX = x + 64;
  addElement<ProgramIcon>().setRect({x, y, x + 48, y + 48});
  addElement<ui::TZText>(std::string(kProgramName) + " " + kProgramVersion).setRect({textX, y + 2, c.right - 16, y + 20});
  addElement<ui::TZText>("A skinnable audio player for Windows.").setRect({textX, y + 22, c.right - 16, y + 40});
  addElement<ui::TZText>("Outside libraries in this build and their licences:")
      .setRect({x, y + 66, c.right - 16, y + 84});
  for (int i = 0; i < count; ++i)
    addElement<ui::TZText>(aboutLibraryLine(static_cast<size_t>(i)))
        .setRect({x + 8, y + 92 + i * kLineHeight, c.right - 16, y + 92 + (i + 1) * kLineHeight});
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
