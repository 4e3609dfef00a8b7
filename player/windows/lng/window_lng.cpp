#include "window_lng.h"

#include <windows.h>

#include "win32/owners.h"

namespace zv::ui {

namespace {

bool hasLetter(const std::string& text) {
  for (unsigned char c : text)
    if (IsCharAlphaA(char(c))) return true;
  return false;
}

}  // namespace

WindowLng::WindowLng(const std::string& rootDir, const std::string& language, const std::string& fileName)
    : path_(rootDir + "\\lang\\" + language + "\\windows\\" + fileName) {
  UniqueFile file(CreateFileA(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  const DWORD size = GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE || size > (4u << 20)) return;
  std::string bytes(size, '\0');
  DWORD got = 0;
  if (size && (!ReadFile(file.get(), bytes.data(), size, &got, nullptr) || got != size)) return;
  buffer_ = "\n" + bytes;
  loaded_ = true;
}

WindowLng::~WindowLng() { flush(); }

std::string WindowLng::text(const std::string& key, const std::string& builtIn) {
  if (!loaded_ || key.empty() || !hasLetter(builtIn)) return builtIn;
  const std::string needle = "\n" + key + "=";
  for (const std::string* b : {&buffer_, &appended_}) {
    const size_t at = b->find(needle);
    if (at == std::string::npos) continue;
    const size_t from = at + needle.size();
    const size_t end = b->find_first_of("\r\n", from);
    return b->substr(from, end == std::string::npos ? std::string::npos : end - from);
  }
  appended_ += "\r\n" + key + "=" + builtIn;
  return builtIn;
}

std::string WindowLng::item(const std::string& key, const std::string& builtIn) {
  const size_t bar = builtIn.find('|');
  if (bar == std::string::npos) return text(key, builtIn);
  return text(key, builtIn.substr(0, bar)) + builtIn.substr(bar);
}

void WindowLng::flush() {
  if (!loaded_ || appended_.empty()) return;
  UniqueFile file(CreateFileA(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  // Start on a line of its own when the file does not end with one.
  std::string data = appended_;
  if (buffer_.size() > 1 && buffer_.back() != '\n' && buffer_.back() != '\r') {
    // appended_ begins with CR LF already.
  } else {
    data.erase(0, 2);
  }
  DWORD written = 0;
  if (WriteFile(file.get(), data.data(), DWORD(data.size()), &written, nullptr)) {
    buffer_ += appended_;
    appended_.clear();
  }
}

}  // namespace zv::ui
