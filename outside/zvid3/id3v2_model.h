// An ID3v2 tag as the interface's handles see it: frames in tag order, each
// with the fields its kind has, independent of any file or TagLib object.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "zvid3.h"

struct ZvId3v2FrameData {
  std::string id;              // shown id, four lower-case characters ("tyer")
  int kind = ZV_ID3_KIND_OTHER;
  int encoding = 0;            // 0 Latin-1, 1 UTF-16, 2 UTF-16BE, 3 UTF-8
  std::string language = "eng";
  std::wstring desc, content, mimetype, filename;
  int pictype = 0;
  std::string data;            // picture, object, or the raw body of other frames
};

struct ZvId3v2TagData {
  std::vector<std::unique_ptr<ZvId3v2FrameData>> frames;
  int version = 3;             // ID3v2 major version written by a save
};

namespace zvid3 {

using FrameData = ZvId3v2FrameData;
using TagData = ZvId3v2TagData;

// A deep copy, for saves that wait in the deferred batch.
std::unique_ptr<TagData> copyTag(const TagData& tag);

}  // namespace zvid3
