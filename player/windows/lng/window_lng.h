// A window's translations: "<language folder>\windows\<class name without
// its first letter>.lng" (TInfoWnd: "InfoWnd.lng"), "key=translation" lines.
// Keys: the window's own name (its caption), a component's name (its
// caption), name + ".Hint", and name + "[" + index + "]" for the items of
// combo boxes, tabs and menu buttons ("text|command": only the text is
// translated, the command kept). A key the file lacks is appended with the
// built-in text, when that holds a letter; a file that does not exist is
// never created, and then every text stays as built in.
#pragma once
#include <string>

namespace zv::ui {

class WindowLng {
 public:
  // Reads "<rootDir>\lang\<language>\windows\<fileName>".
  WindowLng(const std::string& rootDir, const std::string& language, const std::string& fileName);
  // Appends the keys that were missing.
  ~WindowLng();
  WindowLng(const WindowLng&) = delete;
  WindowLng& operator=(const WindowLng&) = delete;

  bool loaded() const { return loaded_; }
  const std::string& path() const { return path_; }
  // The translation of `key`, or `builtIn` (then the key is appended).
  std::string text(const std::string& key, const std::string& builtIn);
  // An item "text|command": the text translated, "|command" kept.
  std::string item(const std::string& key, const std::string& builtIn);
  // Writes the appended keys now.
  void flush();

 private:
  std::string path_;
  std::string buffer_;    // "\n" + the file's bytes
  std::string appended_;  // "\r\nkey=text" for every missing key
  bool loaded_ = false;
};

}  // namespace zv::ui
