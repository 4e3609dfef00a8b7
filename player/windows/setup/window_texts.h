// The texts of one window from its language file
// "<lang dir>\<language>\windows\<window name>.lng" (the window's class name
// without its first letter): key = a component's name for its caption,
// name + ".Hint" for its hint, name + "[i]" for the i-th entry of a combo
// box or a page row; the window's own name for its title. A text without a
// letter is shown as it is. Keys the file lacks are added to it when the
// window goes, so a translator's file grows into the full list.
#pragma once
#include <string>
#include <vector>

#include "foundation/language_state.h"

namespace zv::setupui {

class WindowTexts {
 public:
  WindowTexts(const std::string& langDir, const std::string& language, const std::string& windowName);
  ~WindowTexts();
  WindowTexts(const WindowTexts&) = delete;
  WindowTexts& operator=(const WindowTexts&) = delete;

  std::string caption(const std::string& component, const std::string& text);
  std::string hint(const std::string& component, const std::string& text);
  std::string item(const std::string& component, int index, const std::string& text);
  std::vector<std::string> items(const std::string& component, const std::vector<std::string>& texts);
  const std::string& windowName() const { return windowName_; }

 private:
  std::string windowName_;
  LanguageState state_;
};

// The language the player shows ("Lang", "en" when unset).
std::string currentLanguage();

}  // namespace zv::setupui
