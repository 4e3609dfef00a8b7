#include "lyrics_file.h"

#include <windows.h>

#include "win32/owners.h"

namespace zv::info {

namespace {
const DWORD kMaxLyricsBytes = 1 << 20;
}

std::string withCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::string> readLyrics(const std::string& path) {
  if (path.empty()) return std::nullopt;
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  const DWORD size = GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE || size > kMaxLyricsBytes) return std::nullopt;
  std::string text(size, '\0');
  DWORD got = 0;
  if (size && (!ReadFile(file.get(), text.data(), size, &got, nullptr) || got != size)) return std::nullopt;
  // A NUL would end the text early in the EDIT; it is no part of lyrics.
  for (char& c : text)
    if (c == '\0') c = ' ';
  return withCrLf(text);
}

bool writeLyrics(const std::string& path, const std::string& text) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const std::string data = withCrLf(text);
  DWORD written = 0;
  return WriteFile(file.get(), data.data(), DWORD(data.size()), &written, nullptr) && written == data.size();
}

bool deleteLyrics(const std::string& path) {
  if (path.empty()) return false;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileA(path.c_str()) || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace zv::info
