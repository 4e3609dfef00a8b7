// wav.dec's entry points. Every open file has a Decoder of its own, found by
// its handle; the table's lock covers only finding, since each handle is
// used by one thread at a time.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "wav_decoder.h"
#include "zv_decoder.h"

namespace {

std::mutex tableLock;
std::map<ZvDecHandle, std::unique_ptr<wav::Decoder>>& table() {
  static std::map<ZvDecHandle, std::unique_ptr<wav::Decoder>> t;
  return t;
}

wav::Decoder* find(ZvDecHandle h) {
  std::lock_guard<std::mutex> l(tableLock);
  auto it = table().find(h);
  return it == table().end() ? nullptr : it->second.get();
}

void copyText(char* dst, size_t size, const std::string& text) {
  size_t n = std::min(size - 1, text.size());
  memcpy(dst, text.data(), n);
  dst[n] = 0;
}

template <class Body>
int32_t guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    return 1;
  }
}

}  // namespace

ZVEXPORT int32_t ZVAPI comPluginInfo(ZvPluginInfoBlock* info) {
  if (!info) return 1;
  copyText(info->description, sizeof(info->description), "RIFF WAVE decoder (PCM and floating point)");
  info->kindFlags = 0x40;
  return ZV_PLUGIN_DONE;
}

ZVEXPORT int32_t ZVAPI inPluginInfo(ZvInputInfoBlock* info) {
  if (!info) return 1;
  copyText(info->extensions, sizeof(info->extensions), ".wav,.wave");
  return ZV_PLUGIN_DONE;
}

ZVEXPORT int32_t ZVAPI comConfig(ZvConfigRec*) { return ZV_PLUGIN_DONE; }

ZVEXPORT int32_t ZVAPI inCheckFile(ZvFileCheckRec* rec) {
  if (!rec) return 1;
  return guarded([&] {
    wav::File file(rec->fileName);
    wav::Layout l;
    if (!file.ok() || !wav::readLayout(file, l)) return int32_t(ZV_PLUGIN_NOT_MINE);
    if ((rec->request & ZV_CHECK_PLAYABLE) && !l.playable()) return int32_t(ZV_PLUGIN_NOT_MINE);
    const uint32_t ms = l.rate > 0 ? static_cast<uint32_t>(l.frames * 1000 / uint64_t(l.rate)) : 0;
    if (rec->request & ZV_CHECK_TYPE_NAME) copyText(rec->typeName, sizeof(rec->typeName), "WAVE audio");
    if (rec->request & ZV_CHECK_FORMAT_TEXT) copyText(rec->formatText, sizeof(rec->formatText), wav::formatText(l));
    if (rec->request & ZV_CHECK_LENGTH) rec->lengthMs = ms;
    if (rec->request & ZV_CHECK_INFO_TEXT) {
      char text[512];
      snprintf(text, sizeof(text),
               "Format: %s\nChannels: %d\nSample rate: %d Hz\nBits per sample: %d\nLength: %u:%02u\nFrames: %llu",
               wav::formatText(l).c_str(), l.format.channels, l.rate, l.format.bits, ms / 60000, ms / 1000 % 60,
               static_cast<unsigned long long>(l.frames));
      copyText(rec->infoText, sizeof(rec->infoText), text);
    }
    return int32_t(ZV_PLUGIN_DONE);
  });
}

ZVEXPORT int32_t ZVAPI decOpen(ZvDecOpenRec* rec) {
  if (!rec) return 1;
  return guarded([&] {
    auto d = std::make_unique<wav::Decoder>(rec->fileName);
    if (!d->ok()) return int32_t(ZV_PLUGIN_NOT_MINE);
    rec->lengthMs = static_cast<int32_t>(d->lengthMs());
    rec->flags &= ~uint32_t(ZV_DEC_CANNOT_SEEK);
    ZvDecHandle h = reinterpret_cast<ZvDecHandle>(d.get());
    std::lock_guard<std::mutex> l(tableLock);
    table()[h] = std::move(d);
    rec->handle = h;
    return int32_t(ZV_PLUGIN_DONE);
  });
}

ZVEXPORT int32_t ZVAPI decRead(ZvDecReadRec* rec) {
  if (!rec) return 1;
  return guarded([&] {
    wav::Decoder* d = find(rec->handle);
    audioconv::PcmFormat out{rec->bits, rec->channels, false};
    if (!d || !rec->buffer || rec->frames <= 0) {
      rec->frames = 0;
      return int32_t(1);
    }
    size_t n = d->read(rec->buffer, size_t(rec->frames), rec->sampleRate, out);
    rec->frames = static_cast<int32_t>(n);
    return int32_t(n > 0 ? 0 : 1);  // nothing more: the end of the file
  });
}

ZVEXPORT int32_t ZVAPI decSeek(ZvDecSeekRec* rec) {
  if (!rec) return 1;
  return guarded([&] {
    if (wav::Decoder* d = find(rec->handle)) d->seekMs(rec->positionMs);
    return int32_t(0);
  });
}

ZVEXPORT int32_t ZVAPI decClose(ZvDecCloseRec* rec) {
  if (!rec) return 1;
  return guarded([&] {
    std::unique_ptr<wav::Decoder> gone;
    std::lock_guard<std::mutex> l(tableLock);
    auto it = table().find(rec->handle);
    if (it != table().end()) {
      gone = std::move(it->second);
      table().erase(it);
    }
    return int32_t(0);
  });
}
