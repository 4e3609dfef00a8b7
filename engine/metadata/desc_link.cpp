#include "metadata/desc_link.h"

#include "zv_desc.h"

namespace zv {

void requestDescription(const char* path) { queryInfo(path, 0, -1, -1); }

bool cdDescription(const char* path, char* out) { return cdaDesc(path, out) != 0; }

bool setCdDescription(const char* path, const char* text) { return setCdaDesc(path, text) != 0; }

}  // namespace zv
