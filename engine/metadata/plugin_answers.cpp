#include "metadata/plugin_answers.h"

#include "foundation/text_util.h"
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

}  // namespace zv
