// The entry points every decoder library shares, written once: each plug-in
// describes itself with a PluginDef and its exports.cpp forwards the
// extern "C" entry points here. No exception leaves these functions.
#pragma once
#include <memory>
#include <optional>

#include "decoder.h"
#include "zv_decoder.h"

namespace deckit {

struct PluginDef {
  const char* description;  // comPluginInfo
  const char* extensions;   // inPluginInfo: ".mp3,.mp2"
  // Looks at the file's content; nullopt when it is not this plug-in's (this
  // must be cheap for other formats). `request` holds the ZV_CHECK_* bits
  // asked, so costly facts (a full scan for the length) can be skipped.
  std::optional<FileFacts> (*probe)(SourceFile& file, uint32_t request);
  // Opens the file for decoding; null when it cannot be decoded.
  std::unique_ptr<Decoder> (*open)(SourceFile file, bool preferFloat);
  // Writes the check record from the facts; may be absent, and then
  // fillCheckRecord writes the texts every library of the kit shares. For a
  // library whose texts callers already know in another form (wav.dec).
  void (*fillCheck)(const FileFacts& facts, ZvFileCheckRec& rec) = nullptr;
};

int32_t pluginInfo(const PluginDef& def, ZvPluginInfoBlock* info);
int32_t inputInfo(const PluginDef& def, ZvInputInfoBlock* info);
int32_t checkFile(const PluginDef& def, ZvFileCheckRec* rec);
int32_t openFile(const PluginDef& def, ZvDecOpenRec* rec);
int32_t readFile(ZvDecReadRec* rec);
int32_t seekFile(ZvDecSeekRec* rec);
int32_t closeFile(ZvDecCloseRec* rec);

// The record texts the check fills, from the facts (exposed for tests of the
// plug-ins, which check the texts through inCheckFile).
void fillCheckRecord(const FileFacts& facts, ZvFileCheckRec& rec);

}  // namespace deckit
