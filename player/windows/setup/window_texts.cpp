#include "setup/window_texts.h"

#include <cctype>

#include "zv_config.h"

namespace zv::setupui {

namespace {

bool hasLetter(const std::string& text) {
  for (unsigned char c : text)
    if (std::isalpha(c) || c >= 0xC0) return true;
  return false;
}

}  // namespace

WindowTexts::WindowTexts(const std::string& langDir, const std::string& language, const std::string& windowName)
    : windowName_(windowName), state_(langDir) {
  state_.setLanguage(langDir, language, "windows\\" + windowName + ".lng");
}

WindowTexts::~WindowTexts() { state_.writeBack(); }

std::string WindowTexts::caption(const std::string& component, const std::string& text) {
  if (!hasLetter(text)) return text;
  return state_.translate(component + "###" + text);
}

std::string WindowTexts::hint(const std::string& component, const std::string& text) {
  return caption(component + ".Hint", text);
}

std::string WindowTexts::item(const std::string& component, int index, const std::string& text) {
  return caption(component + "[" + std::to_string(index) + "]", text);
}

std::vector<std::string> WindowTexts::items(const std::string& component, const std::vector<std::string>& texts) {
  std::vector<std::string> out;
  for (size_t i = 0; i < texts.size(); ++i) out.push_back(item(component, static_cast<int>(i), texts[i]));
  return out;
}

std::string currentLanguage() {
  char language[260] = {};
  configString("Lang", language, "en");
  return language[0] ? language : "en";
}

}  // namespace zv::setupui
