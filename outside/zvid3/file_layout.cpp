#include "file_layout.h"

#include <cstring>

#include "foundation/file_io.h"

namespace zvid3 {
namespace {

bool readAt(HANDLE file, int64_t at, void* out, int64_t size) {
  LARGE_INTEGER pos;
  pos.QuadPart = at;
  return SetFilePointerEx(file, pos, nullptr, FILE_BEGIN) && zv::readExact(file, out, size);
}

// Formats whose own structure would be damaged by a tag before or after it,
// or which carry their tags inside.
bool taglessSignature(const unsigned char* head, size_t n) {
  auto is = [&](size_t at, const char* magic) {
    size_t len = std::strlen(magic);
    return at + len <= n && std::memcmp(head + at, magic, len) == 0;
  };
  static const unsigned char asf[] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11};
  return is(0, "OggS") || is(0, "fLaC") || is(0, "RIFF") || is(0, "FORM") || is(0, "MThd") ||
         is(4, "ftyp") || (n >= 8 && std::memcmp(head, asf, 8) == 0);
}

}  // namespace

bool readLayout(HANDLE file, FileLayout& layout) {
  layout = FileLayout{};
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size)) return false;
  layout.size = size.QuadPart;

  unsigned char head[12] = {};
  size_t n = static_cast<size_t>(layout.size < 12 ? layout.size : 12);
  if (n > 0 && !readAt(file, 0, head, n)) return false;
  layout.tagless = taglessSignature(head, n);

  // ID3v2 header: "ID3", version, revision, flags, four 7-bit size bytes.
  if (n >= 10 && std::memcmp(head, "ID3", 3) == 0 && head[3] != 0xFF && head[4] != 0xFF &&
      (head[6] | head[7] | head[8] | head[9]) < 0x80) {
    int64_t body = (int64_t(head[6]) << 21) | (head[7] << 14) | (head[8] << 7) | head[9];
    int64_t end = 10 + body + ((head[5] & 0x10) ? 10 : 0);
    if (end > layout.size) layout.id3v2Broken = true;
    else layout.id3v2End = end;
  }

  if (layout.size >= 128 + layout.id3v2End) {
    char magic[3];
    if (!readAt(file, layout.size - 128, magic, 3)) return false;
    layout.hasId3v1 = std::memcmp(magic, "TAG", 3) == 0;
  }
  return true;
}

bool taglessByName(const std::wstring& path) {
  if (path.size() >= 4 && _wcsicmp(path.c_str() + path.size() - 4, L".cda") == 0) return true;
  return path.size() >= 4 && _wcsnicmp(path.c_str(), L"CD:\\", 4) == 0;
}

}  // namespace zvid3
