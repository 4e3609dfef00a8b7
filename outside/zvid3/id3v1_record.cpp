// The ID3v1.1 record's file calls (its fields: id3v1_codec.cpp). The
// record's bytes are kept exactly as stored (texts in the writer's code
// page), so they are read and written here directly rather than through
// TagLib's Latin-1 view of them.
#include <windows.h>

#include <cstring>

#include "ansi_text.h"
#include "file_layout.h"
#include "foundation/file_io.h"
#include "guard.h"
#include "result_codes.h"
#include "tag_writer.h"
#include "win32/owners.h"
#include "zvid3.h"

using namespace zvid3;

ZVEXPORT int32_t ZVAPI readTag(const char* path, ZvId3v1Tag* tag) {
  return guarded("readTag", int32_t(ZV_ID3_IO_ERROR), [&]() -> int32_t {
    if (!path || !tag) return ZV_ID3_BAD_ARGUMENT;
    std::memset(tag, 0, sizeof *tag);
    std::wstring name = toWide(path);
    if (taglessByName(name)) return ZV_ID3_NO_TAGS_HERE;
    zv::UniqueFile file(CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    FileLayout layout;
    if (!file || !readLayout(file.get(), layout)) return ZV_ID3_IO_ERROR;
    if (layout.tagless) return ZV_ID3_NO_TAGS_HERE;
    if (!layout.hasId3v1) return ZV_ID3_NO_TAG;
    LARGE_INTEGER at;
    at.QuadPart = layout.size - 128;
    if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) || !zv::readExact(file.get(), tag, 128)) {
      std::memset(tag, 0, sizeof *tag);
      return ZV_ID3_IO_ERROR;
    }
    return ZV_ID3_OK;
  });
}

ZVEXPORT int32_t ZVAPI writeTag(const char* path, const ZvId3v1Tag* tag) {
  return guarded("writeTag", int32_t(ZV_ID3_IO_ERROR), [&]() -> int32_t {
    if (!path || !tag) return ZV_ID3_BAD_ARGUMENT;
    ZvId3v1Tag record = *tag;
    std::memcpy(record.magic, "TAG", 3);
    auto plan = [&](const FileLayout& layout, RewritePlan& job) {
      job.to = layout.hasId3v1 ? layout.size - 128 : layout.size;
      job.tail.assign(reinterpret_cast<const char*>(&record), sizeof record);
      return WriteStatus::ok;
    };
    return resultCode(rewriteFile(toWide(path), plan, nullptr, {}));
  });
}

ZVEXPORT int32_t ZVAPI removeTag(const char* path) {
  return guarded("removeTag", int32_t(ZV_ID3_IO_ERROR), [&]() -> int32_t {
    if (!path) return ZV_ID3_BAD_ARGUMENT;
    auto plan = [&](const FileLayout& layout, RewritePlan& job) {
      if (!layout.hasId3v1) return WriteStatus::nothingToDo;
      job.to = layout.size - 128;
      return WriteStatus::ok;
    };
    WriteStatus status = rewriteFile(toWide(path), plan, nullptr, {});
    return status == WriteStatus::nothingToDo ? ZV_ID3_NO_TAG : resultCode(status);
  });
}
