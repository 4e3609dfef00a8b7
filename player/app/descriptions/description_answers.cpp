#include "descriptions/description_answers.h"

#include <windows.h>

namespace zv {

namespace {

void writeLine(Playlist pl, int32_t line, const ZvQueryResult& answer) {
  if (answer.description[0]) plSetDesc(pl, line, answer.description);
  if (answer.info[0]) plSetInfo(pl, line, answer.info);
  if (const PlaylistLine* rec = plGetRec(pl, line)) {
    PlaylistLine copy = *rec;
    if (answer.lengthMs > 0) copy.time = answer.lengthMs;
    if (answer.sizeKb >= 0) copy.size = answer.sizeKb;
    plSetRec(pl, line, &copy);
  }
}

bool names(Playlist pl, int32_t line, const char* path) {
  const char* name = plGetName(pl, line);
  return name && *name && lstrcmpiA(name, path) == 0;
}

}  // namespace

std::vector<int32_t> applyDescriptionAnswer(Playlist pl, const ZvQueryResult& answer) {
  std::vector<int32_t> written;
  if (!pl || !answer.path[0]) return written;
  const int32_t count = plGetCount(pl);
  if (isFileNews(answer)) {
    for (int32_t i = 0; i < count; ++i)
      if (names(pl, i, answer.path)) written.push_back(i);
  } else if (answer.line < count && names(pl, answer.line, answer.path)) {
    written.push_back(answer.line);
  }
  for (int32_t line : written) writeLine(pl, line, answer);
  return written;
}

}  // namespace zv
