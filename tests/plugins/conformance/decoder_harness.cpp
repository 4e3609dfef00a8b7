#include "decoder_harness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>

#include "testkit.h"

namespace conf {

namespace {

template <class F>
F entry(HMODULE m, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

std::vector<DecPlugin> loadAll() {
  std::vector<DecPlugin> out;
  std::string dir = zvtest::rootDir() + "\\plugins\\";
  WIN32_FIND_DATAA fd;
  HANDLE find = FindFirstFileA((dir + "*.dec").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return out;
  do {
    DecPlugin p;
    p.name = fd.cFileName;
    p.module = LoadLibraryA((dir + fd.cFileName).c_str());
    if (!p.module) continue;
    p.pluginInfo = entry<ZvComPluginInfoFn>(p.module, "comPluginInfo");
    p.inputInfo = entry<ZvInPluginInfoFn>(p.module, "inPluginInfo");
    p.check = entry<ZvInCheckFileFn>(p.module, "inCheckFile");
    p.open = entry<ZvDecOpenFn>(p.module, "decOpen");
    p.read = entry<ZvDecReadFn>(p.module, "decRead");
    p.seek = entry<ZvDecSeekFn>(p.module, "decSeek");
    p.close = entry<ZvDecCloseFn>(p.module, "decClose");
    out.push_back(p);
  } while (FindNextFileA(find, &fd));
  FindClose(find);
  return out;
}

}  // namespace

const std::vector<DecPlugin>& plugins() {
  static const std::vector<DecPlugin> all = loadAll();
  return all;
}

const DecPlugin* pluginNamed(const std::string& name) {
  for (const auto& p : plugins())
    if (_stricmp(p.name.c_str(), name.c_str()) == 0) return &p;
  return nullptr;
}

std::string mediaDir() { return zvtest::testDir() + "\\media"; }
std::string Media::path() const { return mediaDir() + "\\" + file; }

const std::vector<Media>& manifest() {
  static const std::vector<Media> all = [] {
    std::vector<Media> out;
    std::ifstream in(mediaDir() + "\\manifest.txt");
    std::string line;
    while (std::getline(in, line)) {
      std::istringstream s(line);
      Media m;
      if (!(s >> m.file >> m.plugin >> m.rate >> m.channels >> m.bits >> m.tolerance >> m.reference)) continue;
      std::getline(s >> std::ws, m.formatText);
      if (m.formatText.size() >= 2 && m.formatText.front() == '"') m.formatText = m.formatText.substr(1, m.formatText.size() - 2);
      out.push_back(m);
    }
    return out;
  }();
  return all;
}

const Media* mediaNamed(const std::string& file) {
  for (const auto& m : manifest())
    if (m.file == file) return &m;
  return nullptr;
}

Decoded decode(const DecPlugin& p, const std::string& path, Format f, int32_t seekMs, int64_t maxFrames, int chunk) {
  Decoded d;
  ZvDecOpenRec o{};
  o.fileName = path.c_str();
  o.flags = ZV_DEC_PREFER_FLOAT;
  o.sampleRate = f.rate;
  if (p.open(&o) != 0) return d;
  d.opened = true;
  d.lengthMs = o.lengthMs;
  d.openFlags = o.flags;
  if (seekMs >= 0) {
    ZvDecSeekRec s{o.handle, seekMs};
    p.seek(&s);
  }
  const size_t frameBytes = size_t(f.bits / 8 * f.channels);
  std::vector<uint8_t> buf(size_t(chunk) * frameBytes);
  int idle = 0;
  while (d.frames < maxFrames) {
    ZvDecReadRec r{o.handle, buf.data(), ZV_DEC_READ_CONSTANT, chunk, f.rate, f.bits, f.channels};
    if (p.read(&r) != 0) {
      d.endedCleanly = r.frames == 0;
      break;
    }
    if (r.frames < 0 || r.frames > chunk) break;
    if (r.frames == 0 && ++idle > 100000) break;  // "nothing yet" forever is a hang
    d.pcm.insert(d.pcm.end(), buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(size_t(r.frames) * frameBytes));
    d.frames += r.frames;
  }
  ZvDecCloseRec c{o.handle};
  p.close(&c);
  return d;
}

Handle::Handle(const DecPlugin& p, const std::string& path) : p_(p) {
  ZvDecOpenRec o{};
  o.fileName = path.c_str();
  o.flags = ZV_DEC_PREFER_FLOAT;
  o.sampleRate = 44100;
  ok_ = p.open(&o) == 0;
  h_ = o.handle;
  length_ = o.lengthMs;
}

Handle::~Handle() {
  if (!ok_) return;
  ZvDecCloseRec c{h_};
  p_.close(&c);
}

void Handle::seek(int32_t ms) {
  ZvDecSeekRec s{h_, ms};
  p_.seek(&s);
}

int32_t Handle::read(Format f, int32_t frames, std::vector<uint8_t>& out) {
  const size_t frameBytes = size_t(f.bits / 8 * f.channels);
  std::vector<uint8_t> buf(size_t(frames) * frameBytes);
  for (int idle = 0; idle < 100000; ++idle) {
    ZvDecReadRec r{h_, buf.data(), ZV_DEC_READ_CONSTANT, frames, f.rate, f.bits, f.channels};
    if (p_.read(&r) != 0) return 0;
    if (r.frames > 0) {
      out.insert(out.end(), buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(size_t(r.frames) * frameBytes));
      return r.frames;
    }
  }
  return 0;
}

int32_t sampleAt(const std::vector<uint8_t>& pcm, size_t i, int bits) {
  const uint8_t* p = pcm.data() + i * size_t(bits / 8);
  switch (bits) {
    case 8: return int32_t(p[0]) - 128;
    case 16: return int16_t(p[0] | (p[1] << 8));
    case 24: return int32_t(uint32_t(p[0] << 8 | p[1] << 16 | uint32_t(p[2]) << 24)) >> 8;
    default: {
      int32_t v;
      std::memcpy(&v, p, 4);
      return v;
    }
  }
}

int64_t maxDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int bits) {
  if (a.size() != b.size()) return -1;
  int64_t worst = 0;
  const size_t n = a.size() / size_t(bits / 8);
  for (size_t i = 0; i < n; ++i)
    worst = std::max<int64_t>(worst, std::llabs(int64_t(sampleAt(a, i, bits)) - sampleAt(b, i, bits)));
  return worst;
}

int32_t check(const DecPlugin& p, const std::string& path, uint32_t request, ZvFileCheckRec& rec) {
  std::memset(&rec, 0, sizeof rec);
  rec.fileName = path.c_str();
  rec.request = request;
  return p.check(&rec);
}

}  // namespace conf
