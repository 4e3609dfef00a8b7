// Translation of localised strings ("key###default") from a language file of
// "key=translation" lines. Both deliverables keep one LanguageState each: the
// engine for "engine.dat", the player for "messages.dat"; the player links
// this code from the static library zv_foundation_shared (see
// engine/CMakeLists.txt), so both read and grow the files the same way.
#pragma once
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace zv {

class LanguageState {
 public:
  // No file is read until setLanguage; language "en".
  explicit LanguageState(std::string directory);
  ~LanguageState();
  LanguageState(const LanguageState&) = delete;
  LanguageState& operator=(const LanguageState&) = delete;

  // Writes back the current file, then takes the new directory, language and
  // file name, reads the language identifier from "<language>\info.dat" and
  // loads "<directory>\<language>\<fileName>" if it exists.
  void setLanguage(std::string_view directory, std::string_view language, std::string_view fileName);

  // The text to show for `text`: texts without "###" stand for themselves;
  // otherwise the file's translation of the key, or the default, in which
  // case the key is added to the file (written at the next write-back).
  // Any thread.
  std::string translate(std::string_view text);

  // Writes keys added since loading back to the language file; a file that
  // did not exist is never created. Failures are ignored.
  void writeBack();

  uint32_t languageId() const;
  std::string directory() const;
  std::string language() const;

 private:
  void writeBackLocked();

  mutable std::mutex lock_;
  std::string directory_;
  std::string language_ = "en";
  std::string fileName_;
  uint32_t languageId_ = 0;
  bool loaded_ = false;
  bool changed_ = false;
  std::string buffer_;  // "\n" + the file's bytes + keys appended since
};

// The key part of a localised string (before the first "###"), or the whole
// text when it has none.
std::string_view localisedKey(std::string_view text);

}  // namespace zv
