#include "id3v2_lines.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace zv::info {

namespace {

bool startsWithTW(const std::string& id) { return !id.empty() && (id[0] == 't' || id[0] == 'w'); }

std::string lineText(const std::string& id, const std::string& typeName, ZvId3v2Frame frame) {
  if (id == "txxx" || id == "wxxx") {
    const std::string desc = frameField(frame, "desc"), content = frameField(frame, "content");
    return typeName + ": " + desc + (desc.empty() ? "" : " = ") + content;
  }
  if (startsWithTW(id)) return typeName + ": " + frameField(frame, "content");
  if (id == "comm" || id == "uslt" || id == "geob") {
    const std::string desc = frameField(frame, "desc");
    return desc.empty() ? typeName : typeName + ": " + desc;
  }
  return typeName;
}

}  // namespace

std::string frameField(ZvId3v2Frame frame, const char* field) {
  std::vector<char> buffer(8192, '\0');
  const int32_t n = id3v2GetStringField(frame, field, buffer.data(), int32_t(buffer.size()));
  return std::string(buffer.data(), std::max(0, int(n)));
}

std::vector<FrameLine> frameLines(ZvId3v2Tag tag) {
  std::vector<FrameLine> lines;
  if (!tag) return lines;
  const int32_t frames = id3v2FrameCount(tag);
  std::vector<bool> listed(static_cast<size_t>(std::max(0, int(frames))), false);
  const int32_t types = id3v2TypeCount();
  for (int32_t t = 0; t < types; ++t) {
    char typeId[8] = {}, typeName[256] = {};
    int32_t kind = ZV_ID3_KIND_OTHER;
    if (!id3v2GetType(t, typeId, typeName, &kind)) continue;
    for (int32_t f = 0; f < frames; ++f) {
      ZvId3v2Frame frame = id3v2GetFrame(tag, f);
      char id[8] = {};
      if (listed[f] || !id3v2FrameType(frame, id, nullptr, nullptr) || _stricmp(id, typeId) != 0) continue;
      listed[f] = true;
      lines.push_back({frame, id, kind, lineText(id, typeName, frame)});
    }
  }
  for (int32_t f = 0; f < frames; ++f) {
    if (listed[f]) continue;
    ZvId3v2Frame frame = id3v2GetFrame(tag, f);
    char id[8] = {}, name[256] = {};
    int32_t kind = ZV_ID3_KIND_OTHER;
    if (!id3v2FrameType(frame, id, name, &kind)) continue;
    lines.push_back({frame, id, kind, lineText(id, name, frame)});
  }
  return lines;
}

void setTextFrame(ZvId3v2Tag tag, const char* id, const std::string& value) {
  ZvId3v2Frame frame = id3v2FindFrame(tag, id);
  if (!frame) {
    if (value.empty()) return;
    frame = id3v2AddFrame(tag, id);
  }
  if (frame) id3v2SetStringField(frame, "content", value.c_str());
}

void framesFromId3(ZvId3v2Tag tag, const Id3Values& v, const std::string& path, const std::string& pluginTags) {
  setTextFrame(tag, "tit2", v.title);
  setTextFrame(tag, "tpe1", v.artist);
  setTextFrame(tag, "talb", v.album);
  setTextFrame(tag, "tyer", v.year);
  if (v.genre >= 0) setTextFrame(tag, "tcon", "(" + std::to_string(v.genre) + ")");
  setTextFrame(tag, "trck", trackText(v.track));
  const size_t slash = path.find_last_of("\\/");
  setTextFrame(tag, "tofn", slash == std::string::npos ? path : path.substr(slash + 1));
  size_t start = 0;
  while (start < pluginTags.size()) {
    size_t end = pluginTags.find('\n', start);
    if (end == std::string::npos) end = pluginTags.size();
    std::string line = pluginTags.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t eq = line.find('=');
    // Only names that are frame ids; the library refuses anything else.
    if (eq == 4) {
      std::string id = line.substr(0, 4);
      std::transform(id.begin(), id.end(), id.begin(), [](unsigned char c) { return char(std::tolower(c)); });
      setTextFrame(tag, id.c_str(), line.substr(eq + 1));
    }
    start = end + 1;
  }
}

std::vector<TextFieldRow> textFieldRows(ZvId3v2Tag tag) {
  std::vector<TextFieldRow> rows;
  const int32_t types = id3v2TypeCount();
  for (int32_t t = 0; t < types; ++t) {
    char id[8] = {}, name[256] = {};
    int32_t kind = 0;
    if (!id3v2GetType(t, id, name, &kind)) continue;
    if (kind != ZV_ID3_KIND_TEXT && kind != ZV_ID3_KIND_URL) continue;
    const std::string sid = id;
    if (!startsWithTW(sid) || sid == "txxx" || sid == "wxxx") continue;
    ZvId3v2Frame frame = tag ? id3v2FindFrame(tag, id) : nullptr;
    rows.push_back({sid, name, frame ? frameField(frame, "content") : std::string(), nullptr});
  }
  const int32_t frames = tag ? id3v2FrameCount(tag) : 0;
  for (int32_t f = 0; f < frames; ++f) {
    ZvId3v2Frame frame = id3v2GetFrame(tag, f);
    char id[8] = {};
    if (!id3v2FrameType(frame, id, nullptr, nullptr)) continue;
    if (std::strcmp(id, "txxx") != 0 && std::strcmp(id, "wxxx") != 0) continue;
    rows.push_back({id, frameField(frame, "desc"), frameField(frame, "content"), frame});
  }
  return rows;
}

void applyTextFieldRows(ZvId3v2Tag tag, const std::vector<TextFieldRow>& before,
                        const std::vector<TextFieldRow>& after) {
  for (size_t i = 0; i < after.size() && i < before.size(); ++i) {
    if (after[i].value == before[i].value) continue;
    if (after[i].frame) id3v2SetStringField(after[i].frame, "content", after[i].value.c_str());
    else setTextFrame(tag, after[i].id.c_str(), after[i].value);
  }
}

}  // namespace zv::info
