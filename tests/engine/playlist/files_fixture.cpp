#include "files_fixture.h"

#include <windows.h>

#include <cstdio>
#include <mutex>

#include "testkit.h"
#include "zv_config.h"
#include "zv_plugins.h"

namespace pltest {

void ensureEngine() {
  static std::once_flag once;
  std::call_once(once, [] {
    setConfigMode("zvtest_playlist_files", 0);
    setConfigString("userExt", ".mp3,.wav,.flac");
    setConfigString("cddbDir", (zvtest::testDir() + "\\cddb").c_str());
    setConfigBool("autoOemCvt", ZV_FALSE);
    initPlugins();
  });
}

void writeText(const std::string& path, const std::string& text) {
  if (!zvtest::writeFile(path, text.data(), text.size())) std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

std::string readText(const std::string& path) {
  auto bytes = zvtest::readFile(path);
  return std::string(bytes.begin(), bytes.end());
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> dump(Playlist pl, bool withFlags) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < plGetCount(pl); ++i) {
    const PlaylistLine* r = plGetRec(pl, i);
    std::string name = plGetName(pl, i);
    if (name.empty()) name = std::string(">") + plGetDesc(pl, i);
    std::string line = name + "@" + std::to_string(r->level);
    if (withFlags) {
      char hex[16];
      std::snprintf(hex, sizeof(hex), "#%x", r->flags);
      line += hex;
    }
    out.push_back(line);
  }
  return out;
}

void makeTree(const std::string& root, const std::vector<std::string>& entries) {
  CreateDirectoryA(root.c_str(), nullptr);
  for (const std::string& e : entries) {
    std::string path = root + "\\" + e;
    if (!e.empty() && e.back() == '\\') {
      path.pop_back();
      CreateDirectoryA(path.c_str(), nullptr);
    } else {
      writeText(path, "x");
    }
  }
}

}  // namespace pltest
