// The ID3v2 handle calls.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ansi_text.h"
#include "deferred_batch.h"
#include "foundation/text_util.h"
#include "frame_types.h"
#include "guard.h"
#include "id3v2_model.h"
#include "id3v2_taglib.h"
#include "zvid3.h"

using namespace zvid3;

namespace {

enum class Field { content, desc, mimetype, pictype, filename, data, encoding, language, none };

Field fieldNamed(const char* name) {
  if (!name) return Field::none;
  static const char* const names[] = {"content", "desc",     "mimetype", "pictype",
                                      "filename", "data",    "encoding", "language"};
  std::string wanted = zv::asciiLower(name);
  for (int i = 0; i < 8; ++i)
    if (wanted == names[i]) return static_cast<Field>(i);
  return Field::none;
}

// Which fields a frame has, by its kind (and id, for the two object frames).
bool hasField(const FrameData& f, Field field) {
  switch (field) {
    case Field::content:
      return f.kind == ZV_ID3_KIND_TEXT || f.kind == ZV_ID3_KIND_URL || f.kind == ZV_ID3_KIND_USERTEXT ||
             f.kind == ZV_ID3_KIND_LANGTEXT || f.kind == ZV_ID3_KIND_PEOPLE;
    case Field::desc:
      return f.kind == ZV_ID3_KIND_USERTEXT || f.kind == ZV_ID3_KIND_LANGTEXT || f.kind == ZV_ID3_KIND_OBJECT;
    case Field::mimetype: return f.kind == ZV_ID3_KIND_OBJECT;
    case Field::pictype: return f.kind == ZV_ID3_KIND_OBJECT && f.id == "apic";
    case Field::filename: return f.kind == ZV_ID3_KIND_OBJECT && f.id == "geob";
    case Field::data: return f.kind == ZV_ID3_KIND_OBJECT || f.kind == ZV_ID3_KIND_OTHER;
    case Field::encoding: return f.kind != ZV_ID3_KIND_URL && f.kind != ZV_ID3_KIND_OTHER;
    case Field::language: return f.kind == ZV_ID3_KIND_LANGTEXT;
    case Field::none: return false;
  }
  return false;
}

std::wstring* wideField(FrameData& f, Field field) {
  switch (field) {
    case Field::content: return &f.content;
    case Field::desc: return &f.desc;
    case Field::mimetype: return &f.mimetype;
    case Field::filename: return &f.filename;
    default: return nullptr;
  }
}

int* intField(FrameData& f, Field field) {
  if (field == Field::pictype) return &f.pictype;
  if (field == Field::encoding) return &f.encoding;
  return nullptr;
}

void putType(const FrameType& type, char* id, char* name, int32_t* kind) {
  if (id) copyOut(id, 8, type.id);
  if (name) copyOut(name, 256, type.name);
  if (kind) *kind = type.kind;
}

bool validShownId(const std::string& id) {
  return id.size() == 4 && std::all_of(id.begin(), id.end(), [](char c) {
           return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
         });
}

}  // namespace

ZVEXPORT ZvId3v2Tag ZVAPI id3v2Create(void) {
  return guarded("id3v2Create", ZvId3v2Tag(nullptr), [] { return new TagData(); });
}

ZVEXPORT void ZVAPI id3v2Free(ZvId3v2Tag tag) {
  guardedVoid("id3v2Free", [&] { std::unique_ptr<TagData> owned(tag); });
}

ZVEXPORT int32_t ZVAPI id3v2Load(ZvId3v2Tag tag, const char* path) {
  return guarded("id3v2Load", int32_t(ZV_ID3_IO_ERROR), [&]() -> int32_t {
    if (!tag) return ZV_ID3_BAD_ARGUMENT;
    tag->frames.clear();
    if (!path) return ZV_ID3_BAD_ARGUMENT;
    return loadTag(toWide(path), *tag);
  });
}

ZVEXPORT int32_t ZVAPI id3v2Save(ZvId3v2Tag tag, const char* path, int32_t, ZvId3Progress progress) {
  return guarded("id3v2Save", int32_t(ZV_ID3_IO_ERROR), [&]() -> int32_t {
    // Callers tell failure from success by 3 alone, so every failure is 3.
    if (!tag || !path) return ZV_ID3_IO_ERROR;
    std::wstring file = toWide(path);
    WriteStatus status = saveTagNow(*tag, file, ProgressSink{progress});
    if (status == WriteStatus::inUse) {
      deferSave(file, copyTag(*tag));
      return ZV_ID3_DEFERRED;
    }
    return status == WriteStatus::ok || status == WriteStatus::nothingToDo ? ZV_ID3_OK : ZV_ID3_IO_ERROR;
  });
}

ZVEXPORT int32_t ZVAPI id3v2DoBatch(ZvId3Progress progress) {
  return guarded("id3v2DoBatch", int32_t(0), [&] { return int32_t(runDeferredSaves(ProgressSink{progress})); });
}

ZVEXPORT int32_t ZVAPI id3v2FrameCount(ZvId3v2Tag tag) {
  return tag ? static_cast<int32_t>(tag->frames.size()) : 0;
}

ZVEXPORT ZvId3v2Frame ZVAPI id3v2GetFrame(ZvId3v2Tag tag, int32_t index) {
  if (!tag || index < 0 || index >= static_cast<int32_t>(tag->frames.size())) return nullptr;
  return tag->frames[static_cast<size_t>(index)].get();
}

ZVEXPORT ZvBool ZVAPI id3v2FrameType(ZvId3v2Frame frame, char* id, char* name, int32_t* kind) {
  return guarded("id3v2FrameType", ZvBool(ZV_FALSE), [&]() -> ZvBool {
    if (!frame) return ZV_FALSE;
    FrameType type = frameTypeOf(frame->id);
    type.kind = frame->kind;
    putType(type, id, name, kind);
    return ZV_TRUE;
  });
}

ZVEXPORT int32_t ZVAPI id3v2TypeCount(void) { return static_cast<int32_t>(knownFrameTypes().size()); }

ZVEXPORT ZvBool ZVAPI id3v2GetType(int32_t index, char* id, char* name, int32_t* kind) {
  return guarded("id3v2GetType", ZvBool(ZV_FALSE), [&]() -> ZvBool {
    const auto& types = knownFrameTypes();
    if (index < 0 || index >= static_cast<int32_t>(types.size())) return ZV_FALSE;
    putType(types[static_cast<size_t>(index)], id, name, kind);
    return ZV_TRUE;
  });
}

ZVEXPORT ZvId3v2Frame ZVAPI id3v2FindFrame(ZvId3v2Tag tag, const char* id) {
  return guarded("id3v2FindFrame", ZvId3v2Frame(nullptr), [&]() -> ZvId3v2Frame {
    if (!tag || !id) return nullptr;
    std::string wanted = zv::asciiLower(id);
    for (const auto& f : tag->frames)
      if (f->id == wanted) return f.get();
    return nullptr;
  });
}

ZVEXPORT ZvId3v2Frame ZVAPI id3v2AddFrame(ZvId3v2Tag tag, const char* id) {
  return guarded("id3v2AddFrame", ZvId3v2Frame(nullptr), [&]() -> ZvId3v2Frame {
    if (!tag || !id) return nullptr;
    std::string shown = zv::asciiLower(id);
    if (!validShownId(shown)) return nullptr;
    auto frame = std::make_unique<FrameData>();
    frame->id = shown;
    frame->kind = frameTypeOf(shown).kind;
    tag->frames.push_back(std::move(frame));
    return tag->frames.back().get();
  });
}

ZVEXPORT void ZVAPI id3v2DelFrame(ZvId3v2Tag tag, ZvId3v2Frame frame) {
  guardedVoid("id3v2DelFrame", [&] {
    if (!tag) return;
    auto& frames = tag->frames;
    frames.erase(std::remove_if(frames.begin(), frames.end(), [&](const auto& f) { return f.get() == frame; }),
                 frames.end());
  });
}

ZVEXPORT int32_t ZVAPI id3v2GetStringField(ZvId3v2Frame frame, const char* field, char* buffer, int32_t size) {
  return guarded("id3v2GetStringField", int32_t(0), [&]() -> int32_t {
    if (!buffer || size <= 0) return 0;
    buffer[0] = '\0';
    Field which = fieldNamed(field);
    if (!frame || !hasField(*frame, which)) return 0;
    std::string text;
    if (std::wstring* w = wideField(*frame, which)) text = toAnsi(*w);
    else if (int* n = intField(*frame, which)) text = std::to_string(*n);
    else if (which == Field::language) text = frame->language;
    else return 0;
    return copyOut(buffer, static_cast<size_t>(size), text);
  });
}

ZVEXPORT ZvBool ZVAPI id3v2SetStringField(ZvId3v2Frame frame, const char* field, const char* text) {
  return guarded("id3v2SetStringField", ZvBool(ZV_FALSE), [&]() -> ZvBool {
    Field which = fieldNamed(field);
    if (!frame || !hasField(*frame, which)) return ZV_FALSE;
    std::string value = text ? text : "";
    if (std::wstring* w = wideField(*frame, which)) *w = toWide(value);
    else if (intField(*frame, which)) return id3v2SetIntField(frame, field, std::atoi(value.c_str()));
    else if (which == Field::language) frame->language = zv::asciiLower(value.substr(0, 3));
    else return ZV_FALSE;
    return ZV_TRUE;
  });
}

ZVEXPORT int32_t ZVAPI id3v2GetIntField(ZvId3v2Frame frame, const char* field) {
  return guarded("id3v2GetIntField", int32_t(0), [&]() -> int32_t {
    Field which = fieldNamed(field);
    if (!frame || !hasField(*frame, which)) return 0;
    int* n = intField(*frame, which);
    return n ? *n : 0;
  });
}

ZVEXPORT ZvBool ZVAPI id3v2SetIntField(ZvId3v2Frame frame, const char* field, int32_t value) {
  return guarded("id3v2SetIntField", ZvBool(ZV_FALSE), [&]() -> ZvBool {
    Field which = fieldNamed(field);
    if (!frame || !hasField(*frame, which)) return ZV_FALSE;
    int* n = intField(*frame, which);
    if (!n) return ZV_FALSE;
    if (which == Field::encoding && (value < 0 || value > 3)) return ZV_FALSE;
    if (which == Field::pictype && (value < 0 || value > 255)) return ZV_FALSE;
    *n = value;
    return ZV_TRUE;
  });
}

ZVEXPORT const void* ZVAPI id3v2GetBinaryField(ZvId3v2Frame frame, const char* field, int32_t* length) {
  return guarded("id3v2GetBinaryField", static_cast<const void*>(nullptr), [&]() -> const void* {
    if (length) *length = 0;
    if (!frame || fieldNamed(field) != Field::data || !hasField(*frame, Field::data) || frame->data.empty())
      return nullptr;
    if (length) *length = static_cast<int32_t>(frame->data.size());
    return frame->data.data();
  });
}

ZVEXPORT ZvBool ZVAPI id3v2SetBinaryField(ZvId3v2Frame frame, const char* field, const void* data, int32_t length) {
  return guarded("id3v2SetBinaryField", ZvBool(ZV_FALSE), [&]() -> ZvBool {
    if (!frame || fieldNamed(field) != Field::data || !hasField(*frame, Field::data) || length < 0 ||
        (length > 0 && !data))
      return ZV_FALSE;
    if (length == 0) frame->data.clear();
    else frame->data.assign(static_cast<const char*>(data), static_cast<size_t>(length));
    return ZV_TRUE;
  });
}
