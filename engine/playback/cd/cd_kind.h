// The built-in `cdaudio` kind: its file checks, its file-system answers for
// CD locations, and its playing thread.
#pragma once
#include <windows.h>

#include "zv_decoder.h"

namespace zv {

int32_t ZVAPI cdaudioInPluginInfo(ZvInputInfoBlock* info);
int32_t ZVAPI cdaudioInCheckFile(ZvFileCheckRec* rec);
int32_t ZVAPI cdaudioFsControl(ZvFsRequest* rec);
// The instance thread (started like every built-in kind's).
DWORD WINAPI cdaudioThread(void* startArgument);

}  // namespace zv
