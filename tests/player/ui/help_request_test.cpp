// F1 in a window asks for its help page once, whether the window itself or a
// control inside it has the focus, and nothing happens without a handler.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "help_request.h"
#include "testkit.h"
#include "ui_fixture.h"
#include "win32/owners.h"
#include "win32/window_base.h"

namespace {

constexpr UINT kKeyF1 = 0x004D;  // what the system posts for the F1 key (WM_KEYF1)

class PageWindow : public zv::WindowBase {
 public:
  bool open() {
    if (!create({"ZvHelpRequestTest"}, 0, "help request", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100)) return false;
    edit_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, hwnd(), nullptr, nullptr, nullptr);
    return edit_ != nullptr;
  }
  HWND edit() const { return edit_; }
  int helpMessages = 0;

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_HELP) ++helpMessages;
    if (zv::answerHelpKey(hwnd(), message, "sample.html")) return TRUE;
    return DefWindowProcA(hwnd(), message, wParam, lParam);
  }

 private:
  HWND edit_ = nullptr;
};

struct Asked {
  HWND owner;
  std::string page;
};

TEST(HelpRequest, f1InTheWindowOrAControlAsksForThePageOnceOnBehalfOfTheWindow) {
  UI_NEED_DISPLAY();
  std::vector<Asked> asked;
  zv::HelpHandler before = zv::setHelpHandler([&](HWND owner, const std::string& page) { asked.push_back({owner, page}); });
  PageWindow window;
  ASSERT_TRUE(window.open());
  for (HWND target : {window.hwnd(), window.edit()}) {
    asked.clear();
    PostMessageA(target, kKeyF1, 0, 0);
    uitest::pump();
    ASSERT_EQ(asked.size(), 1u) << (target == window.hwnd() ? "window" : "control");
    EXPECT_EQ(asked[0].owner, window.hwnd());
    EXPECT_EQ(asked[0].page, "sample.html");
  }
  // Other messages are not help requests, and keys other than F1 ask nothing.
  asked.clear();
  EXPECT_FALSE(zv::answerHelpKey(window.hwnd(), WM_KEYDOWN, "sample.html"));
  SendMessageA(window.hwnd(), WM_KEYDOWN, VK_F2, 0);
  EXPECT_TRUE(asked.empty());

  // Without a handler a request is refused and F1 does nothing.
  zv::setHelpHandler({});
  EXPECT_FALSE(zv::requestHelp(window.hwnd(), "sample.html"));
  const int before_messages = window.helpMessages;
  PostMessageA(window.hwnd(), kKeyF1, 0, 0);
  uitest::pump();
  EXPECT_EQ(window.helpMessages, before_messages + 1);
  EXPECT_TRUE(asked.empty());
  zv::setHelpHandler(std::move(before));
}

}  // namespace
