// Saves that found their file in use (a player reading it) wait here until
// id3v2DoBatch finds the file free.
#pragma once
#include <memory>
#include <string>

#include "id3v2_model.h"
#include "tag_writer.h"

namespace zvid3 {

// Writes `tag` into the file now.
WriteStatus saveTagNow(const TagData& tag, const std::wstring& path, const ProgressSink& progress);

// Queues a copy of a save; a later save of the same file replaces it.
void deferSave(const std::wstring& path, std::unique_ptr<TagData> tag);

// Runs the queued saves; returns how many still wait.
int runDeferredSaves(const ProgressSink& progress);

}  // namespace zvid3
