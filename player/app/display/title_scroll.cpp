#include "display/title_scroll.h"

namespace zv {

const char kTitleGap[] = "  \x96\x96  ";

void TitleScroll::setTitle(const std::string& title, bool scroll) {
  const std::string shown = title.empty() ? "Zorvak" : title;
  if (shown == title_ && scroll == scroll_) return;
  title_ = shown;
  scroll_ = scroll;
  caption_ = scroll ? title_ + kTitleGap : title_;
}

void TitleScroll::tick() {
  if (!scroll_ || caption_.size() < 2) return;
  caption_ = caption_.substr(1) + caption_[0];
}

}  // namespace zv
