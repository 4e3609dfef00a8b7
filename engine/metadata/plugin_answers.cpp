#include "metadata/plugin_answers.h"

#include <windows.h>

#include <string_view>
#include <vector>

#include "foundation/text_util.h"
#include "metadata/tag_info.h"
#include "zv_playback.h"

namespace zv {

bool pluginDescription(const char* path, std::string* text) {
  ZvFsRequest rec = {};
  rec.path = path;
  rec.operation = ZV_FS_GET_DESC;
  if (fsControl(&rec) != ZV_PLUGIN_DONE) return false;
  *text = fieldText(rec.text);
  return !text->empty();
}

bool pluginTakesDescription(const char* path, const char* text) {
  ZvFsRequest rec = {};
  rec.path = path;
  rec.operation = ZV_FS_SET_DESC;
  copyBounded(rec.text, sizeof(rec.text), text ? text : "");
  return fsControl(&rec) == ZV_PLUGIN_DONE;
}

std::unique_ptr<ZvFileCheckRec> pluginCheck(const char* path, uint32_t request) {
  auto rec = std::make_unique<ZvFileCheckRec>();
  *rec = {};
  rec->fileName = path;
  rec->request = request;
  if (checkFile(rec.get()) != ZV_PLUGIN_DONE) return nullptr;
  return rec;
}

namespace {

struct TagLine {
  std::string name, value;
};

// The name=value lines of a tag field text (a line without "=" is skipped).
std::vector<TagLine> tagLines(std::string_view text) {
  std::vector<TagLine> lines;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    size_t eq = line.find('=');
    if (eq == std::string_view::npos || eq == 0) continue;
    lines.push_back({std::string(line.substr(0, eq)), std::string(line.substr(eq + 1))});
  }
  return lines;
}

bool sameName(const std::string& a, const char* b) { return lstrcmpiA(a.c_str(), b) == 0; }

// The value of the first line named one of `names` (in the order given);
// marks the line used.
bool takeValue(std::vector<TagLine>& lines, std::vector<bool>& used, std::initializer_list<const char*> names,
               std::string* value) {
  for (const char* name : names)
    for (size_t i = 0; i < lines.size(); ++i)
      if (!used[i] && sameName(lines[i].name, name)) {
        used[i] = true;
        *value = lines[i].value;
        return true;
      }
  return false;
}

}  // namespace

std::string pluginTagInfo(const ZvFileCheckRec& rec) {
  std::string display = fieldText(rec.description);
  TagValues probe;
  if (decodeTagValues(display, &probe)) return display;

  std::vector<TagLine> lines = tagLines(fieldText(rec.tagText));
  std::vector<bool> used(lines.size(), false);
  TagValues v;
  std::string track;
  bool any = takeValue(lines, used, {"title"}, &v.title);
  any = takeValue(lines, used, {"artist"}, &v.artist) || any;
  any = takeValue(lines, used, {"album"}, &v.album) || any;
  any = takeValue(lines, used, {"year", "date"}, &v.year) || any;
  any = takeValue(lines, used, {"track", "tracknumber"}, &track) || any;
  if (!any) return std::string();
  v.track = trackNumber(std::string_view(track).substr(0, track.find('/')));
  if (v.title.empty() && !v.artist.empty() && display.size() > v.artist.size() + 3 &&
      display.compare(0, v.artist.size() + 3, v.artist + " - ") == 0)
    v.title = display.substr(v.artist.size() + 3);
  std::string text = tagInfoText(v);
  for (size_t i = 0; i < lines.size(); ++i)
    if (!used[i]) text += "\n" + lines[i].name + "=" + lines[i].value;
  return text;
}

}  // namespace zv
