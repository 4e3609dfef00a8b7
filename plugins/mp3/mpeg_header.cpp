#include "mpeg_header.h"

namespace mp3 {

namespace {

// Bit rates in kbps by [MPEG-1 or not][layer - 1][index].
constexpr short kBitrates[2][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, -1},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, -1},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, -1}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, -1},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, -1}}};
constexpr int kRates[3] = {44100, 48000, 32000};

bool sameStream(const FrameHeader& a, const FrameHeader& b) {
  return a.version == b.version && a.layer == b.layer && a.rate == b.rate;
}

}  // namespace

bool parseFrameHeader(const uint8_t* p, FrameHeader& h) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
  int versionBits = (p[1] >> 3) & 3, layerBits = (p[1] >> 1) & 3;
  int bitrateIndex = p[2] >> 4, rateIndex = (p[2] >> 2) & 3, padding = (p[2] >> 1) & 1;
  if (versionBits == 1 || layerBits == 0 || rateIndex == 3 || (p[3] & 3) == 2) return false;
  h.version = versionBits == 3 ? 10 : versionBits == 2 ? 20 : 25;
  h.layer = 4 - layerBits;
  h.bitrateKbps = kBitrates[h.version == 10 ? 0 : 1][h.layer - 1][bitrateIndex];
  if (h.bitrateKbps <= 0) return false;  // free format or invalid
  h.rate = kRates[rateIndex] / (h.version == 10 ? 1 : h.version == 20 ? 2 : 4);
  h.channels = (p[3] >> 6) == 3 ? 1 : 2;
  const int bps = h.bitrateKbps * 1000;
  if (h.layer == 1)
    h.frameBytes = (12 * bps / h.rate + padding) * 4;
  else if (h.layer == 3 && h.version != 10)
    h.frameBytes = 72 * bps / h.rate + padding;
  else
    h.frameBytes = 144 * bps / h.rate + padding;
  return h.frameBytes >= 4;
}

size_t id3v2Size(const uint8_t* data, size_t size) {
  size_t pos = 0;
  // Several tags may follow each other; each is "ID3", version, flags, and a
  // 28-bit size in 7-bit bytes, plus a 10-byte footer when flag 0x10 is set.
  while (pos + 10 <= size && data[pos] == 'I' && data[pos + 1] == 'D' && data[pos + 2] == '3') {
    const uint8_t* s = data + pos + 6;
    if ((s[0] | s[1] | s[2] | s[3]) & 0x80) break;
    size_t body = (size_t(s[0]) << 21) | (size_t(s[1]) << 14) | (size_t(s[2]) << 7) | s[3];
    pos += 10 + body + ((data[pos + 5] & 0x10) ? 10 : 0);
  }
  return pos;
}

long findFirstFrame(const uint8_t* data, size_t size, bool complete) {
  for (size_t start = 0; start + 4 <= size; ++start) {
    FrameHeader first;
    if (!parseFrameHeader(data + start, first)) continue;
    size_t pos = start + size_t(first.frameBytes);
    int chained = 1;
    bool ok = true;
    while (chained < 3) {
      if (pos == size && complete) break;  // a short file ending on a frame
      FrameHeader next;
      if (pos + 4 > size || !parseFrameHeader(data + pos, next) || !sameStream(first, next)) {
        ok = false;
        break;
      }
      pos += size_t(next.frameBytes);
      ++chained;
    }
    if (ok) return static_cast<long>(start);
  }
  return -1;
}

}  // namespace mp3
