#include "foundation/language_state.h"

#include <windows.h>

#include "foundation/file_replace.h"
#include "foundation/language_lookup.h"
#include "foundation/legacy_text.h"
#include "win32/owners.h"

namespace zv {
namespace {

constexpr std::string_view kSeparator = "###";

// The identifier is hexadecimal digits; anything else gives 0.
uint32_t parseLanguageId(const char* text) {
  uint32_t value = 0;
  int digits = 0;
  for (const char* p = text; *p; ++p, ++digits) {
    char c = *p;
    uint32_t d;
    if (c >= '0' && c <= '9') d = static_cast<uint32_t>(c - '0');
    else if (c >= 'a' && c <= 'f') d = static_cast<uint32_t>(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F') d = static_cast<uint32_t>(c - 'A' + 10);
    else return 0;
    if (digits == 8) return 0;
    value = value * 16 + d;
  }
  return value;
}

bool readWhole(const std::string& path, std::string& out) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return false;
  out.assign(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  if (!out.empty() && !ReadFile(file.get(), out.data(), static_cast<DWORD>(out.size()), &got, nullptr)) return false;
  out.resize(got);
  return true;
}

}  // namespace

std::string_view localisedKey(std::string_view text) {
  size_t at = text.find(kSeparator);
  return at == std::string_view::npos ? text : text.substr(0, at);
}

LanguageState::LanguageState(std::string directory) : directory_(std::move(directory)) {}

LanguageState::~LanguageState() = default;

void LanguageState::setLanguage(std::string_view directory, std::string_view language, std::string_view fileName) {
  std::lock_guard<std::mutex> hold(lock_);
  writeBackLocked();
  directory_ = directory;
  language_ = language;
  fileName_ = fileName;

  std::string languageDir = directory_ + "\\" + language_;
  char id[64] = {};
  GetPrivateProfileStringA("Common", "ID", "", id, sizeof(id), (languageDir + "\\info.dat").c_str());
  languageId_ = id[0] ? parseLanguageId(id) : 0;

  std::string content;
  loaded_ = !fileName_.empty() && readWhole(languageDir + "\\" + fileName_, content);
  // A translator's file is in its language's code page, or UTF-8.
  if (loaded_) content = fileTextToActive(content, false, ansiCodePageOfLanguage(languageId_)).text;
  buffer_ = loaded_ ? "\n" + content : std::string();
  changed_ = false;
}

std::string LanguageState::translate(std::string_view text) {
  size_t at = text.find(kSeparator);
  if (at == std::string_view::npos) return std::string(text);
  std::string_view key = text.substr(0, at);
  std::string_view fallback = text.substr(at + kSeparator.size());

  std::lock_guard<std::mutex> hold(lock_);
  if (!loaded_) return std::string(fallback);
  if (std::optional<std::string> found = lookupTranslation(buffer_, key)) return *found;
  // Missing: the file learns the key with its default, so translators get a
  // complete list just by using the program.
  buffer_.append("\r\n").append(key).append("=").append(fallback);
  changed_ = true;
  return std::string(fallback);
}

void LanguageState::writeBack() {
  std::lock_guard<std::mutex> hold(lock_);
  writeBackLocked();
}

void LanguageState::writeBackLocked() {
  // Only keys added since loading make a write worth it; an unchanged file
  // keeps whatever a translator saved meanwhile.
  if (!loaded_ || !changed_) return;
  std::string path = directory_ + "\\" + language_ + "\\" + fileName_;
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;  // never created here
  // A read-only file is the translator's (or an install's) choice: it is
  // neither rewritten nor stripped of the flag; the learnt keys stay in memory.
  if (attributes & FILE_ATTRIBUTE_READONLY) return;
  std::string text = buffer_.substr(1);
  if (wantsUtf8Mark(text)) text.insert(0, "\xEF\xBB\xBF");
  if (replaceFileContent(path, text.data(), text.size())) changed_ = false;
}

uint32_t LanguageState::languageId() const {
  std::lock_guard<std::mutex> hold(lock_);
  return languageId_;
}

std::string LanguageState::directory() const {
  std::lock_guard<std::mutex> hold(lock_);
  return directory_;
}

std::string LanguageState::language() const {
  std::lock_guard<std::mutex> hold(lock_);
  return language_;
}

}  // namespace zv
