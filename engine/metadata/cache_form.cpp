#include "metadata/cache_form.h"

#include <cstring>

#include "foundation/file_io.h"

namespace zv {
namespace {

constexpr char kMagic[8] = {'Z', 'V', 'C', 'H', '0', '0', '0', '5'};

}  // namespace

bool readCacheForm(HANDLE file, hStrList list) {
  char magic[8];
  return readExact(file, magic, sizeof(magic)) && std::memcmp(magic, kMagic, sizeof(kMagic)) == 0 &&
         slRead(list, file);
}

bool writeCacheForm(HANDLE file, hStrList list) {
  return writeAll(file, kMagic, sizeof(kMagic)) && slWrite(list, file);
}

}  // namespace zv
