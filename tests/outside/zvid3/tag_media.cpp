#include "tag_media.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "testkit.h"

namespace tagtest {

std::string media(const std::string& name) { return zvtest::testDir() + "\\media\\" + name; }

std::string copyOf(const std::string& name, const std::string& dir) {
  std::string to = zvtest::freshDir(dir) + "\\" + name;
  EXPECT_TRUE(CopyFileA(media(name).c_str(), to.c_str(), FALSE)) << "media file missing: " << name;
  return to;
}

std::string readBytes(const std::string& path) {
  std::vector<uint8_t> bytes = zvtest::readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

void writeBytes(const std::string& path, const std::string& bytes) {
  ASSERT_TRUE(zvtest::writeFile(path, bytes.data(), bytes.size()));
}

std::string afterId3v2(const std::string& bytes) {
  if (bytes.size() < 10 || bytes.compare(0, 3, "ID3") != 0) return bytes;
  auto b = [&](size_t i) { return size_t(uint8_t(bytes[i])); };
  size_t size = 10 + ((b(6) << 21) | (b(7) << 14) | (b(8) << 7) | b(9));
  return size <= bytes.size() ? bytes.substr(size) : std::string();
}

std::vector<std::string> filesIn(const std::string& dir) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

std::string frame23(const std::string& id, const std::string& body) {
  std::string f = id;
  uint32_t n = static_cast<uint32_t>(body.size());
  f += char(n >> 24);
  f += char(n >> 16);
  f += char(n >> 8);
  f += char(n);
  f += std::string(2, '\0');
  return f + body;
}

std::string tag23(const std::vector<std::string>& frames, size_t padding) {
  std::string body;
  for (const std::string& f : frames) body += f;
  body += std::string(padding, '\0');
  uint32_t n = static_cast<uint32_t>(body.size());
  std::string header = "ID3";
  header += char(3);
  header += std::string(2, '\0');
  header += char((n >> 21) & 0x7F);
  header += char((n >> 14) & 0x7F);
  header += char((n >> 7) & 0x7F);
  header += char(n & 0x7F);
  return header + body;
}

}  // namespace tagtest
