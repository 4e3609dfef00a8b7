// The ID3v2 page's list and the edits made from the page: one line per frame
// in the tag library's display order, "From ID3 tags", and the rows of the
// "Text fields..." grid. All of it works on a tag handle, no window.
#pragma once
#include <string>
#include <vector>

#include "id3_values.h"
#include "zvid3.h"

namespace zv::info {

struct FrameLine {
  ZvId3v2Frame frame = nullptr;
  std::string id;    // "tit2"
  int kind = ZV_ID3_KIND_OTHER;
  std::string text;  // what the list shows
};

// For each known frame type in display order, every frame with that id; the
// frames of ids the library does not list follow in tag order.
std::vector<FrameLine> frameLines(ZvId3v2Tag tag);

// A text field of a frame (empty when it has none).
std::string frameField(ZvId3v2Frame frame, const char* field);

// Sets the "content" of the first frame with `id`, adding one when there is
// none; an empty value leaves a missing frame missing.
void setTextFrame(ZvId3v2Tag tag, const char* id, const std::string& value);

// "From ID3 tags": the ID3 page's values into "tit2", "tpe1", "talb",
// "tyer", "tcon" ("(%d)" for a chosen genre), "trck" and "tofn" (the file
// name of `path`), then every "name=value" line of `pluginTags` (the
// plug-in's own tag text) into the frame of that name.
void framesFromId3(ZvId3v2Tag tag, const Id3Values& values, const std::string& path, const std::string& pluginTags);

// One row of the text fields grid.
struct TextFieldRow {
  std::string id;     // frame id
  std::string name;   // the type's name, or a txxx/wxxx frame's description
  std::string value;
  ZvId3v2Frame frame = nullptr;  // txxx/wxxx rows: their frame
};
// The known t*/w* types (not txxx, wxxx) with the first frame's content,
// then the tag's txxx and wxxx frames.
std::vector<TextFieldRow> textFieldRows(ZvId3v2Tag tag);
// Writes the rows back (only those whose value changed from `before`).
void applyTextFieldRows(ZvId3v2Tag tag, const std::vector<TextFieldRow>& before,
                        const std::vector<TextFieldRow>& after);

}  // namespace zv::info
