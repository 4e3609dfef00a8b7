#include "player_fixture.h"

#include <cstdio>
#include <mutex>
#include <utility>

#include "testkit.h"
#include "zv_config.h"
#include "zv_plugins.h"

namespace ptest {

void ensureEngine() {
  static std::once_flag once;
  std::call_once(once, [] {
    setConfigMode("zvtest_player_app", 0);
    setConfigString("userExt", ".mp3,.wav,.flac");
    setConfigString("cddbDir", (zvtest::testDir() + "\\cddb").c_str());
    initPlugins();
  });
}

void fill(Playlist pl, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    bool group = line.rfind("G ", 0) == 0;
    std::string body = group ? line.substr(2) : line;
    size_t at = body.rfind('@');
    PlaylistLine rec{};
    rec.flags = group ? lfGroup | lfDirectory : 0;
    rec.level = std::stoi(body.substr(at + 1));
    plAddLine(pl, &rec, body.substr(0, at).c_str(), nullptr, nullptr);
  }
}

static std::string join(const char* what, ZvTarget s, int a, int b) {
  char text[96];
  std::snprintf(text, sizeof(text), "%s %d %d %d", what, static_cast<int>(s), a, b);
  return text;
}

ZvTarget FakePort::open(const std::string& fileName, ZvStatusRec* status, ZvOpenContext** context) {
  calls.push_back("open " + fileName);
  if (unopenable.count(fileName)) {
    *context = nullptr;
    return 0;
  }
  contexts.push_back(std::make_unique<ZvOpenContext>());
  *context = contexts.back().get();
  ZvTarget s = nextHandle++;
  statusOf[s] = status;
  return s;
}

ZvTarget FakePort::openNext(ZvOpenContext** context) {
  calls.push_back("openNext");
  if (nextHandles.empty()) {
    *context = nullptr;  // the engine frees it when the candidates run out
    return 0;
  }
  ZvTarget s = nextHandles.front();
  nextHandles.erase(nextHandles.begin());
  return s;
}

void FakePort::play(ZvTarget s, int32_t f, int32_t m) { calls.push_back(join("play", s, f, m)); }
void FakePort::stop(ZvTarget s, int32_t f, int32_t m) { calls.push_back(join("stop", s, f, m)); }
void FakePort::close(ZvTarget s, int32_t f, int32_t m) { calls.push_back(join("close", s, f, m)); }
void FakePort::seek(ZvTarget s, int32_t p) {
  calls.push_back("seek " + std::to_string(static_cast<int>(s)) + " " + std::to_string(p));
}
void FakePort::stopPlugin(ZvTarget s) { calls.push_back("stopPlugin " + std::to_string(static_cast<int>(s))); }
bool FakePort::canCrossfade(const std::string& fileName) {
  calls.push_back("check " + fileName);
  return crossfadable.count(fileName) > 0;
}
void FakePort::releaseContext(ZvOpenContext* context) {
  if (context) released.insert(context);
}

std::vector<std::string> FakePort::take() { return std::exchange(calls, {}); }

int pumpSkips(zv::Sequencer& seq, FakeView& view, int limit) {
  int delivered = 0;
  while (!view.skips.empty() && delivered < limit) {
    bool backwards = view.skips.front();
    view.skips.erase(view.skips.begin());
    seq.onSkip(backwards);
    ++delivered;
  }
  return delivered;
}

}  // namespace ptest
