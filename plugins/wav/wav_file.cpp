#include "wav_file.h"

#include <cstring>

namespace wav {

File::File(const char* path)
    : h_(path ? CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
              : INVALID_HANDLE_VALUE) {}

uint64_t File::size() const {
  LARGE_INTEGER s;
  return ok() && GetFileSizeEx(h_.get(), &s) ? uint64_t(s.QuadPart) : 0;
}

size_t File::readAt(uint64_t offset, void* dst, size_t n) const {
  if (!ok()) return 0;
  OVERLAPPED o{};
  o.Offset = static_cast<DWORD>(offset);
  o.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD got = 0;
  if (!ReadFile(h_.get(), dst, static_cast<DWORD>(n), &got, &o)) return 0;
  return got;
}

namespace {
uint16_t u16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t u32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
constexpr uint16_t kPcm = 1, kFloat = 3, kExtensible = 0xFFFE;
}  // namespace

bool readLayout(const File& f, Layout& out) {
  uint8_t head[12];
  if (f.readAt(0, head, 12) != 12 || memcmp(head, "RIFF", 4) != 0 || memcmp(head + 8, "WAVE", 4) != 0) return false;
  const uint64_t fileSize = f.size();
  bool haveFmt = false, haveData = false;
  uint64_t dataBytes = 0;
  uint64_t pos = 12;
  while (pos + 8 <= fileSize && !(haveFmt && haveData)) {
    uint8_t ch[8];
    if (f.readAt(pos, ch, 8) != 8) break;
    const uint32_t size = u32(ch + 4);
    const uint64_t body = pos + 8;
    if (memcmp(ch, "fmt ", 4) == 0 && !haveFmt) {
      uint8_t fmt[40] = {};
      size_t n = f.readAt(body, fmt, size < 40 ? size : 40);
      if (n < 16) return false;
      out.tag = u16(fmt);
      out.format.channels = u16(fmt + 2);
      out.rate = static_cast<int>(u32(fmt + 4));
      const int blockAlign = u16(fmt + 12);
      out.format.bits = u16(fmt + 14);
      if (out.tag == kExtensible && n >= 40) {
        out.extensible = true;
        out.tag = u16(fmt + 24);  // first word of the sub-format GUID
      }
      // Containers wider than the valid bits (20 in 24) are read by container.
      if (out.format.channels > 0 && blockAlign % out.format.channels == 0)
        out.format.bits = blockAlign / out.format.channels * 8;
      out.format.isFloat = out.tag == kFloat;
      if (out.tag != kPcm && out.tag != kFloat) out.format.bits = 0;  // compressed: not ours to play
      haveFmt = true;
    } else if (memcmp(ch, "data", 4) == 0 && !haveData) {
      out.dataOffset = body;
      dataBytes = size;
      haveData = true;
    }
    pos = body + size + (size & 1);  // chunks are padded to even sizes
  }
  if (!haveFmt || !haveData) return false;
  // A file cut short plays as far as it goes.
  if (out.dataOffset + dataBytes > fileSize) dataBytes = fileSize > out.dataOffset ? fileSize - out.dataOffset : 0;
  const int frameBytes = out.format.bytesPerFrame();
  out.frames = frameBytes > 0 ? dataBytes / uint64_t(frameBytes) : 0;
  return true;
}

std::string formatText(const Layout& l) {
  std::string kind = l.tag == kFloat ? "Float" : l.tag == kPcm ? "PCM" : "Compressed";
  std::string channels = l.format.channels == 1   ? "mono"
                         : l.format.channels == 2 ? "stereo"
                                                  : std::to_string(l.format.channels) + " channels";
  return kind + " " + std::to_string(l.format.bits) + "-bit " + std::to_string(l.rate / 1000) + " kHz " + channels;
}

}  // namespace wav
