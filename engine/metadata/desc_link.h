// What the CD units ask of the description unit (queryInfo, cdaDesc,
// setCdaDesc).
#pragma once

namespace zv {

// queryInfo(path, 0, -1, -1): fresh descriptions for every listener.
void requestDescription(const char* path);
// cdaDesc / setCdaDesc; false when the description unit cannot answer.
bool cdDescription(const char* path, char* out);
bool setCdDescription(const char* path, const char* text);

}  // namespace zv
