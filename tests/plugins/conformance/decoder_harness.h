// Loads every decoder library of <root>\plugins and drives it through its
// exported entry points exactly as the engine's decode instance will, plus
// the media manifest written by make-media.sh.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "zv_decoder.h"

namespace conf {

struct DecPlugin {
  std::string name;  // "mp3.dec"
  HMODULE module = nullptr;
  ZvComPluginInfoFn pluginInfo = nullptr;
  ZvInPluginInfoFn inputInfo = nullptr;
  ZvInCheckFileFn check = nullptr;
  ZvDecOpenFn open = nullptr;
  ZvDecReadFn read = nullptr;
  ZvDecSeekFn seek = nullptr;
  ZvDecCloseFn close = nullptr;
};

// Every *.dec of <root>\plugins, loaded once for the whole run.
const std::vector<DecPlugin>& plugins();
const DecPlugin* pluginNamed(const std::string& name);

struct Media {
  std::string file, plugin;
  int rate = 0, channels = 0, bits = 16, tolerance = 0;
  std::string reference, formatText;
  std::string path() const;
};
std::string mediaDir();
const std::vector<Media>& manifest();
const Media* mediaNamed(const std::string& file);

struct Format {
  int rate, bits, channels;
};

struct Decoded {
  bool opened = false;
  int32_t lengthMs = -1;
  uint32_t openFlags = 0;
  int64_t frames = 0;
  std::vector<uint8_t> pcm;
  bool endedCleanly = false;  // decRead reported the end (not a loop guard)
};

// Opens, optionally seeks, reads until the end (or maxFrames) in chunks of
// `chunk` frames, closes.
Decoded decode(const DecPlugin& p, const std::string& path, Format f, int32_t seekMs = -1,
               int64_t maxFrames = INT64_MAX, int chunk = 1000);

// One open file, for interleaving two decodes.
class Handle {
 public:
  Handle(const DecPlugin& p, const std::string& path);
  ~Handle();
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool ok() const { return ok_; }
  // Frames read into out (appended); 0 at the end.
  int32_t read(Format f, int32_t frames, std::vector<uint8_t>& out);
  int32_t lengthMs() const { return length_; }
  void seek(int32_t ms);

 private:
  const DecPlugin& p_;
  ZvDecHandle h_ = 0;
  bool ok_ = false;
  int32_t length_ = 0;
};

// Largest difference between two PCM buffers of `bits`-bit samples, in
// steps; -1 when their sizes differ.
int64_t maxDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int bits);
// Sample i of a PCM buffer (8-bit unsigned data centred on 0).
int32_t sampleAt(const std::vector<uint8_t>& pcm, size_t i, int bits);

// inCheckFile with the given request bits.
int32_t check(const DecPlugin& p, const std::string& path, uint32_t request, ZvFileCheckRec& rec);

// The frame that plays at `ms`.
inline int64_t msToFrames(int64_t ms, int rate) { return ms * rate / 1000; }

}  // namespace conf
