// TDebugStatWnd, "Resources usage" (command "debug"): the engine's thread
// list and its memory statistics, refreshed once a second, on two pages of
// owner-drawn lists with tab stops (a line starting with the character 1 is
// a heading, one starting with 2 a thread using 20 % or more).
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frame_window.h"
#include "settings/debug_stat_text.h"
#include "setup/form_pages.h"
#include "setup/window_texts.h"

namespace zv {

// Where the window's figures come from (tests give their own).
struct DebugStatSource {
  std::function<std::string()> threadList;
  std::function<MallocStat()> mallocStat;
  std::function<int64_t()> graphicsBufferBytes;
};
DebugStatSource engineDebugStatSource();

class TDebugStatWnd : public ui::TFrameWnd {
 public:
  // `langDir` empty: <root>\lang; `language` empty: the setting "Lang".
  TDebugStatWnd(std::string root, DebugStatSource source, std::string langDir = {}, std::string language = {});

  bool open(HWND owner);
  // One timer tick: both lists refilled, the record kept.
  void refresh();
  HWND threadList() const { return threads_; }
  HWND memoryList() const { return memory_; }
  void showPage(int page);
  static std::vector<std::string> listLines(HWND list);

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void drawItem(const DRAWITEMSTRUCT& item);
  void fill(HWND list, const std::vector<std::string>& lines);

  std::string root_, langDir_, language_;
  DebugStatSource source_;
  std::unique_ptr<setupui::WindowTexts> texts_;
  setupui::FormPages pages_;
  HWND threads_ = nullptr, memory_ = nullptr;
  std::vector<int> threadStops_;
  MallocStat previous_{};
  setupui::PageRow pageRow_;
  UniqueFont headingFont_;
};

}  // namespace zv
