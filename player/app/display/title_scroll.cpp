#include "display/title_scroll.h"

#include <windows.h>

#include "text/program_text.h"

namespace zv {

const char kTitleGap[] = "  \x96\x96  ";

void TitleScroll::setTitle(const std::string& title, bool scroll) {
  const std::string shown = title.empty() ? "Zorvak" : title;
  if (shown == title_ && scroll == scroll_) return;
  title_ = shown;
  scroll_ = scroll;
  caption_ = scroll ? title_ + programText(kTitleGap) : title_;
}

void TitleScroll::tick() {
  if (!scroll_ || caption_.size() < 2) return;
  // One character moves to the end, never a part of one: a UTF-8 sequence
  // or a double-byte character goes whole.
  size_t first = 1;
  const auto lead = static_cast<unsigned char>(caption_[0]);
  if (GetACP() == CP_UTF8) {
    while (first < caption_.size() && (static_cast<unsigned char>(caption_[first]) & 0xC0) == 0x80) ++first;
  } else if (IsDBCSLeadByte(lead) && caption_.size() > 1) {
    first = 2;
  }
  caption_ = caption_.substr(first) + caption_.substr(0, first);
}

}  // namespace zv
