#include "plugin_entry.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>
#include <string>

#include "foundation/text_util.h"
#include "output_stage.h"

namespace deckit {

namespace {

// One open file: the decoder and the conversion to the engine's format.
struct OpenFile {
  std::unique_ptr<Decoder> decoder;
  OutputStage stage;
  bool ended = false;
};

// Handles are the addresses of live OpenFile objects; the set turns a stale or
// foreign handle into a refusal instead of a crash.
std::mutex handlesLock;
std::set<OpenFile*> liveHandles;

OpenFile* lookUp(ZvDecHandle handle) {
  std::lock_guard<std::mutex> lock(handlesLock);
  auto* f = reinterpret_cast<OpenFile*>(handle);
  return liveHandles.count(f) ? f : nullptr;
}

template <class Body>
int32_t guarded(int32_t onError, Body&& body) {
  try {
    return body();
  } catch (...) {
    return onError;
  }
}

// Copies text into a fixed field, cut at a whole byte boundary, always terminated.
template <size_t N>
void setField(char (&field)[N], const std::string& text) {
  size_t n = std::min(text.size(), N - 1);
  std::memcpy(field, text.data(), n);
  field[n] = '\0';
}

// Adds whole lines while they fit, so no line is ever cut in the middle.
template <size_t N>
void setLines(char (&field)[N], const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    size_t extra = line.size() + (text.empty() ? 0 : 1);
    if (text.size() + extra > N - 1) continue;
    if (!text.empty()) text += '\n';
    text += line;
  }
  setField(field, text);
}

std::string lengthText(uint64_t frames, int rate) {
  int64_t ms = framesToMs(frames, rate);
  char buf[64];
  std::snprintf(buf, sizeof buf, "%lld:%02lld.%03lld (%llu samples)", static_cast<long long>(ms / 60000),
                static_cast<long long>(ms / 1000 % 60), static_cast<long long>(ms % 1000),
                static_cast<unsigned long long>(frames));
  return buf;
}

std::string tagValue(const FileFacts& f, const char* name) {
  for (const auto& [k, v] : f.tags)
    if (k == name) return v;
  return "";
}

std::string titleFromFileName(const char* path) {
  std::string_view name = path;
  size_t slash = zv::lastSeparator(name);
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  return std::string(name);
}

}  // namespace

void fillCheckRecord(const FileFacts& f, ZvFileCheckRec& rec) {
  if (rec.request & ZV_CHECK_TYPE_NAME) setField(rec.typeName, f.typeName);
  if (rec.request & ZV_CHECK_FORMAT_TEXT) setField(rec.formatText, f.formatText);
  if (rec.request & ZV_CHECK_LENGTH) rec.lengthMs = static_cast<uint32_t>(framesToMs(f.lengthFrames, f.rate));
  if (rec.request & ZV_CHECK_INFO_TEXT) {
    std::vector<std::string> lines;
    lines.push_back("Codec: " + f.codec);
    if (f.bitrate > 0) lines.push_back("Bit rate: " + std::to_string((f.bitrate + 500) / 1000) + " kbps");
    lines.push_back("Sample rate: " + std::to_string(f.rate) + " Hz");
    lines.push_back("Channels: " + std::to_string(f.channels));
    if (f.bitsPerSample > 0) lines.push_back("Bits per sample: " + std::to_string(f.bitsPerSample));
    lines.push_back("Length: " + lengthText(f.lengthFrames, f.rate));
    if (!f.encoder.empty()) lines.push_back("Encoder: " + f.encoder);
    lines.insert(lines.end(), f.extraInfo.begin(), f.extraInfo.end());
    setLines(rec.infoText, lines);
    rec.infoFixedPitch = 0;
  }
  if (rec.request & ZV_CHECK_TAG_TEXT) {
    // The field holds 255 characters: the tags a description is made of go
    // first, so a long comment or lyrics tag never pushes them out.
    static const char* const kFirst[] = {"title", "artist", "album", "year", "date", "tracknumber", "track"};
    std::vector<std::string> lines;
    std::vector<bool> taken(f.tags.size(), false);
    for (const char* name : kFirst)
      for (size_t i = 0; i < f.tags.size(); ++i)
        if (!taken[i] && f.tags[i].first == name) {
          taken[i] = true;
          lines.push_back(f.tags[i].first + "=" + f.tags[i].second);
        }
    for (size_t i = 0; i < f.tags.size(); ++i)
      if (!taken[i]) lines.push_back(f.tags[i].first + "=" + f.tags[i].second);
    setLines(rec.tagText, lines);
  }
  if (rec.request & ZV_CHECK_DESCRIPTION) {
    std::string title = tagValue(f, "title"), artist = tagValue(f, "artist");
    std::string text = title.empty() ? titleFromFileName(rec.fileName) : artist.empty() ? title : artist + " - " + title;
    setField(rec.description, text);
  }
}

int32_t pluginInfo(const PluginDef& def, ZvPluginInfoBlock* info) {
  if (!info) return 1;
  setField(info->description, def.description);
  info->kindFlags = 0x40;  // a decoder library
  return ZV_PLUGIN_DONE;
}

int32_t inputInfo(const PluginDef& def, ZvInputInfoBlock* info) {
  if (!info) return 1;
  setField(info->extensions, def.extensions);
  info->extra[0] = '\0';
  return ZV_PLUGIN_DONE;
}

int32_t checkFile(const PluginDef& def, ZvFileCheckRec* rec) {
  return guarded(ZV_PLUGIN_NOT_MINE, [&]() -> int32_t {
    if (!rec || !rec->fileName) return ZV_PLUGIN_NOT_MINE;
    SourceFile file(rec->fileName);
    if (!file.isOpen()) return ZV_PLUGIN_NOT_MINE;
    std::optional<FileFacts> facts = def.probe(file, rec->request);
    if (!facts) return ZV_PLUGIN_NOT_MINE;
    (def.fillCheck ? def.fillCheck : fillCheckRecord)(*facts, *rec);
    return ZV_PLUGIN_DONE;
  });
}

int32_t openFile(const PluginDef& def, ZvDecOpenRec* rec) {
  return guarded(1, [&]() -> int32_t {
    if (!rec || !rec->fileName) return 1;
    SourceFile file(rec->fileName);
    if (!file.isOpen()) return 1;
    auto opened = std::make_unique<OpenFile>();
    opened->decoder = def.open(std::move(file), (rec->flags & ZV_DEC_PREFER_FLOAT) != 0);
    if (!opened->decoder) return 1;
    rec->lengthMs = static_cast<int32_t>(std::min<int64_t>(opened->decoder->lengthMs(), INT32_MAX));
    rec->flags = (rec->flags & ~uint32_t(ZV_DEC_CANNOT_SEEK)) | (opened->decoder->seekable() ? 0 : ZV_DEC_CANNOT_SEEK);
    std::lock_guard<std::mutex> lock(handlesLock);
    OpenFile* raw = opened.get();
    liveHandles.insert(raw);
    opened.release();  // owned through liveHandles until decClose
    rec->handle = reinterpret_cast<ZvDecHandle>(raw);
    return ZV_PLUGIN_DONE;
  });
}

int32_t readFile(ZvDecReadRec* rec) {
  return guarded(1, [&]() -> int32_t {
    if (!rec) return 1;
    OpenFile* f = lookUp(rec->handle);
    int32_t capacity = rec->frames;
    rec->frames = 0;
    OutFormat out{rec->sampleRate, rec->bits, rec->channels};
    if (!f || !rec->buffer || capacity <= 0 || !isValidOutFormat(out)) return 1;
    if (f->ended) return 1;
    size_t n = f->stage.pull(*f->decoder, rec->buffer, static_cast<size_t>(capacity), out);
    if (n == 0) {
      f->ended = true;
      return 1;
    }
    rec->frames = static_cast<int32_t>(n);
    return ZV_PLUGIN_DONE;
  });
}

int32_t seekFile(ZvDecSeekRec* rec) {
  return guarded(1, [&]() -> int32_t {
    OpenFile* f = rec ? lookUp(rec->handle) : nullptr;
    if (!f || !f->decoder->seekable()) return 1;
    bool ok = f->decoder->seekMs(std::max<int32_t>(rec->positionMs, 0));
    f->stage.reset();
    f->ended = false;
    return ok ? ZV_PLUGIN_DONE : 1;
  });
}

int32_t closeFile(ZvDecCloseRec* rec) {
  return guarded(1, [&]() -> int32_t {
    if (!rec) return 1;
    std::unique_ptr<OpenFile> owned;
    {
      std::lock_guard<std::mutex> lock(handlesLock);
      auto* f = reinterpret_cast<OpenFile*>(rec->handle);
      if (!liveHandles.erase(f)) return 1;
      owned.reset(f);
    }
    return ZV_PLUGIN_DONE;
  });
}

}  // namespace deckit
