// The main window's caption: the stream title (or "Zorvak"), scrolled by one
// character every timer tick with "scrollTitle" on.
#pragma once
#include <string>

namespace zv {

class TitleScroll {
 public:
  // A new title starts again from its first character.
  void setTitle(const std::string& title, bool scroll);
  // One tick: the first character moves to the end (when scrolling).
  void tick();
  const std::string& title() const { return title_; }
  const std::string& caption() const { return caption_; }

 private:
  std::string title_ = "Zorvak";
  std::string caption_ = "Zorvak";
  bool scroll_ = false;
};

// The separator between the end of the title and its next beginning: two
// spaces, two en dashes (code page 1252), two spaces.
extern const char kTitleGap[];

}  // namespace zv
