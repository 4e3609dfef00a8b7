// One answer of the file scanner.
#include <cstring>
#include <string>

#include "foundation/text_util.h"
#include "metadata/desc_file.h"
#include "metadata/desc_records.h"
#include "metadata/fast_desc.h"
#include "metadata/file_scanner.h"
#include "metadata/plugin_answers.h"
#include "metadata/tag_reader.h"

namespace zv {

void computeQueryResult(const char* path, ZvQueryResult* result) {
  FileFacts facts = fileFacts(path);
  std::string description;
  InfoRecord info;
  info.sizeKb = sizeInKib(facts);
  bool haveDesc = pluginDescription(path, &description) ||
                  (readDescRecord(path, facts, &description) && !descIsFileNameStandIn(path, description));
  bool haveInfo = readInfoRecord(path, facts, &info) && !infoTextIsDisplayStandIn(info.text);
  if (!haveDesc) description.clear();
  bool newDesc = false, newInfo = false, mayStore = true;

  std::string tagInfo;
  bool tagsRead = false;
  if (!haveDesc || !haveInfo) {
    tagsRead = tagInfoFromTags(path, &tagInfo);
    // A description that was found (the user's own, or a plug-in's) is kept:
    // only a missing one is taken from the tags.
    if (tagsRead && !haveDesc) {
      description = formatTagInfo(path, tagInfo);
      haveDesc = newDesc = !description.empty();
    }
  }

  if (!haveDesc || !haveInfo) {
    uint32_t request = 0;
    if (!haveDesc || !tagsRead) request |= kCheckTagInfo;
    if (!haveInfo) request |= kCheckFormatAndLength;
    if (auto rec = pluginCheck(path, request)) {
      std::string pluginTags = pluginTagInfo(*rec);
      if (!haveInfo) {
        info.lengthMs = int32_t(rec->lengthMs);
        std::string text = (tagsRead ? tagInfo : pluginTags) + "\nformat=" + fieldText(rec->formatText);
        char cut[sizeof(result->info)];
        copyBounded(cut, sizeof(cut), text);
        info.text = cut;
        info.sizeKb = sizeInKib(facts);
        haveInfo = newInfo = true;
      }
      if (!haveDesc) {
        // The plug-in's answer stands even when it formats to nothing: no
        // description file or file name is put in its place.
        description = formatTagInfo(path, pluginTags);
        haveDesc = newDesc = true;
      }
      if (rec->cacheFlags & ZV_CHECK_NO_CACHE) mayStore = false;
    } else if (!haveInfo) {
      info.lengthMs = 0;
      info.text.clear();
      info.sizeKb = sizeInKib(facts);
      haveInfo = newInfo = facts.found;
    }
  }

  if (!haveDesc) {
    // The file name is sent but never stored.
    newDesc = descriptionFromFiles(path, &description) && !description.empty();
    if (!newDesc) description = fastDescText(path);
  }

  if (mayStore && newDesc) writeDescRecord(path, description);
  if (mayStore && newInfo) writeInfoRecord(path, info);

  copyBounded(result->description, sizeof(result->description), description);
  copyBounded(result->info, sizeof(result->info), info.text);
  result->lengthMs = info.lengthMs;
  result->sizeKb = info.sizeKb;
}

}  // namespace zv
