// The synchronous description calls and the tag information text helpers.
#include <string>

#include "foundation/diagnostics.h"
#include "foundation/text_util.h"
#include "metadata/desc_file.h"
#include "metadata/desc_records.h"
#include "metadata/fast_desc.h"
#include "metadata/file_scanner.h"
#include "metadata/plugin_answers.h"
#include "metadata/tag_info.h"
#include "metadata/tag_reader.h"
#include "zv_desc.h"

namespace zv {
namespace {

std::string_view text(const char* s) { return s ? std::string_view(s) : std::string_view(); }

// The sources after the plug-ins' own description, in their order.
std::string describe(const char* path) {
  std::string d;
  if (readDescRecord(path, fileFacts(path), &d) && !d.empty() && !descIsFileNameStandIn(path, d)) return d;
  std::string info;
  if (tagInfoFromTags(path, &info) && !(d = formatTagInfo(path, info)).empty()) return d;
  if (auto rec = pluginCheck(path, kCheckTagInfo)) {
    d = formatTagInfo(path, pluginTagInfo(*rec));
    if (!d.empty()) return d;
  }
  if (descriptionFromFiles(path, &d) && !d.empty()) return d;
  return fastDescText(text(path));
}

}  // namespace
}  // namespace zv

using namespace zv;

ZVEXPORT ZvBool ZVAPI desc(const char* path, char* out) {
  return guarded("desc", ZV_TRUE, [&] {
    if (!out) return ZV_TRUE;
    std::string d;
    if (!path || !pluginDescription(path, &d)) {
      d = path ? describe(path) : std::string();
      if (path) writeDescRecord(path, d);
    }
    copyBounded(out, ZV_DESC_SIZE, d);
    return ZV_TRUE;
  });
}

ZVEXPORT ZvBool ZVAPI cachedDesc(const char* path, char* out) {
  if (out) out[0] = '\0';
  return guarded("cachedDesc", ZV_FALSE, [&] {
    std::string d;
    if (!path || !out || !readDescRecord(path, fileFacts(path), &d)) return ZV_FALSE;
    copyBounded(out, ZV_DESC_SIZE, d);
    return ZV_TRUE;
  });
}

ZVEXPORT ZvBool ZVAPI setDesc(const char* path, const char* text) {
  return guarded("setDesc", ZV_TRUE, [&] {
    if (!path || pluginTakesDescription(path, text)) return ZV_TRUE;
    // Kept whole: the description is cut only where it is shown.
    writeDescRecord(path, text ? text : "");
    queueQuery(path, 0, -1, -1);
    return ZV_TRUE;
  });
}

ZVEXPORT ZvBool ZVAPI getTagInfo(const char* path, char* out) {
  if (out) out[0] = '\0';
  return guarded("getTagInfo", ZV_FALSE, [&] {
    if (!path || !out) return ZV_FALSE;
    std::string info;
    if (!tagInfoFromTags(path, &info)) {
      if (auto rec = pluginCheck(path, kCheckTagInfo)) info = pluginTagInfo(*rec);
    }
    copyBounded(out, ZV_TAGINFO_SIZE, info);
    return out[0] ? ZV_TRUE : ZV_FALSE;
  });
}

ZVEXPORT ZvBool ZVAPI getTagInfoKey(const char* text, const char* key, char* out) {
  if (out) out[0] = '\0';
  return guarded("getTagInfoKey", ZV_FALSE, [&] {
    std::string value;
    if (!text || !key || !out || !tagInfoValue(text, key, &value)) return ZV_FALSE;
    copyBounded(out, ZV_DESC_SIZE, value);
    return ZV_TRUE;
  });
}

ZVEXPORT ZvBool ZVAPI decodeTagInfo(const char* text, char* title, char* artist, char* album, char* year,
                                    int32_t* track) {
  return guarded("decodeTagInfo", ZV_FALSE, [&] {
    TagValues v;
    bool any = decodeTagValues(text ? text : "", &v);
    if (title) copyBounded(title, ZV_DESC_SIZE, v.title);
    if (artist) copyBounded(artist, ZV_DESC_SIZE, v.artist);
    if (album) copyBounded(album, ZV_DESC_SIZE, v.album);
    if (year) copyBounded(year, ZV_DESC_SIZE, v.year);
    if (track) *track = v.track;
    return any ? ZV_TRUE : ZV_FALSE;
  });
}
