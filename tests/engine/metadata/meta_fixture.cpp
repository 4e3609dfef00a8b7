#include "meta_fixture.h"

#include <windows.h>

#include <chrono>
#include <cstring>

#include "testkit.h"
#include "zv_infocache.h"
#include "zv_memory.h"
#include "zv_plugins.h"

namespace metatest {
namespace {

int32_t readInt(const std::vector<uint8_t>& b, size_t at) {
  int32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

void putInt(std::string& s, int32_t v) { s.append(reinterpret_cast<const char*>(&v), 4); }

}  // namespace

bool readCacheFile(const std::string& path, std::vector<Entry>* entries) {
  entries->clear();
  std::vector<uint8_t> b = zvtest::readFile(path);
  if (b.size() < 24 || std::memcmp(b.data(), "ZVCH0005", 8) != 0) return false;
  int32_t count = readInt(b, 8), used = readInt(b, 16);
  size_t storage = 24 + size_t(count) * 4;
  if (count < 0 || used < 0 || storage + size_t(used) != b.size()) return false;
  for (int32_t i = 0; i < count; ++i) {
    int32_t offset = readInt(b, 24 + size_t(i) * 4);
    if (offset < 0) continue;
    int32_t length = readInt(b, storage + size_t(offset));
    std::string e(reinterpret_cast<const char*>(b.data() + storage + offset + 4), size_t(length));
    size_t z1 = e.find('\0'), z2 = e.find('\0', z1 + 1);
    if (z1 == std::string::npos || z2 == std::string::npos || e.size() < z2 + 5) return false;
    int32_t dataLength;
    std::memcpy(&dataLength, e.data() + z2 + 1, 4);
    if (size_t(dataLength) != e.size() - z2 - 5) return false;
    entries->push_back({e.substr(0, z1), e.substr(z1 + 1, z2 - z1 - 1), e.substr(z2 + 5)});
  }
  return true;
}

std::string cacheFileBytes(const std::vector<Entry>& entries) {
  std::string index, storage;
  for (const Entry& e : entries) {
    std::string body = e.file + '\0' + e.record + '\0';
    putInt(body, int32_t(e.data.size()));
    body += e.data;
    putInt(index, int32_t(storage.size()));
    putInt(storage, int32_t(body.size()));
    storage += body;
  }
  std::string out = "ZVCH0005";
  putInt(out, int32_t(entries.size()));
  putInt(out, 4096);
  putInt(out, int32_t(storage.size()));
  putInt(out, 20480 > int32_t(storage.size()) ? 20480 : int32_t(storage.size()));
  return out + index + storage;
}

void flushCacheTable() {
  static int round = 0;
  ++round;
  for (int i = 0; i < 16; ++i) {
    std::string dir = zvtest::freshDir("flush" + std::to_string(round) + "_" + std::to_string(i));
    setCacheRec((dir + "\\scratch.mp3").c_str(), "FLUSH", "x");
  }
}

bool collectAnswers(size_t count, std::vector<ZvQueryResult>* answers, int timeoutMs) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  MSG msg;
  while (answers->size() < count) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == msgInfoReady) {
        // The block may be larger than the record (allocation rounding).
        std::vector<uint8_t> block(size_t(_mgetsize(reinterpret_cast<void*>(msg.lParam))) + sizeof(ZvQueryResult));
        getMsgPrm(&msg, block.data());
        ZvQueryResult r;
        std::memcpy(&r, block.data(), sizeof(r));
        answers->push_back(r);
      }
      finishMsg(&msg);
    }
    if (answers->size() >= count) break;
    if (std::chrono::steady_clock::now() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLPOSTMESSAGE);
  }
  return true;
}

bool isHiddenFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_HIDDEN);
}

}  // namespace metatest
