// Decode speed in times real time of each decoder library through decRead,
// side by side with the codec library's own decode loop in this process (the
// plug-in's overhead: file access, format conversion, the entry points), and
// with resampling on (44.1 kHz to 48 kHz and back).
// Media: the conformance suite's files in <ZV_BENCH_DIR>\media (./zv bench makes them).
#include <windows.h>

#include <FLAC/stream_decoder.h>
#include <mpg123.h>
#include <opusfile.h>
#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <string>
#include <vector>

#include "benchkit.h"
#include "zv_decoder.h"

namespace {

struct Plugin {
  HMODULE module = nullptr;
  ZvDecOpenFn open = nullptr;
  ZvDecReadFn read = nullptr;
  ZvDecCloseFn close = nullptr;
};

Plugin loadPlugin(const std::string& name) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string root = exe;
  root.resize(root.find_last_of('\\'));           // <root>\bin
  root.resize(root.find_last_of('\\'));           // <root>
  Plugin p;
  p.module = LoadLibraryA((root + "\\plugins\\" + name).c_str());
  if (!p.module) return p;
  p.open = reinterpret_cast<ZvDecOpenFn>(reinterpret_cast<void*>(GetProcAddress(p.module, "decOpen")));
  p.read = reinterpret_cast<ZvDecReadFn>(reinterpret_cast<void*>(GetProcAddress(p.module, "decRead")));
  p.close = reinterpret_cast<ZvDecCloseFn>(reinterpret_cast<void*>(GetProcAddress(p.module, "decClose")));
  return p;
}

// Frames decoded by one pass through the plug-in at the given output format.
int64_t pluginPass(const Plugin& p, const std::string& path, int rate, int channels) {
  ZvDecOpenRec o{};
  o.fileName = path.c_str();
  o.flags = ZV_DEC_PREFER_FLOAT;
  o.sampleRate = rate;
  if (p.open(&o) != 0) return 0;
  static std::vector<int16_t> buf(4096 * 8);
  int64_t frames = 0;
  for (;;) {
    ZvDecReadRec r{o.handle, buf.data(), ZV_DEC_READ_CONSTANT, 4096, rate, 16, channels};
    if (p.read(&r) != 0) break;
    frames += r.frames;
  }
  ZvDecCloseRec c{o.handle};
  p.close(&c);
  return frames;
}

// The codec libraries' own loops, decoding to the same sample type the
// plug-in asks of them.
int64_t mpg123Pass(const std::string& path) {
  mpg123_handle* mh = mpg123_new(nullptr, nullptr);
  mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0);
  mpg123_format_none(mh);
  const long* rates = nullptr;
  size_t count = 0;
  mpg123_rates(&rates, &count);
  for (size_t i = 0; i < count; ++i) mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_FLOAT_32);
  int64_t bytes = 0;
  if (mpg123_open(mh, path.c_str()) == MPG123_OK) {
    static std::vector<unsigned char> buf(1 << 16);
    size_t done = 0;
    while (mpg123_read(mh, buf.data(), buf.size(), &done) == MPG123_OK || done > 0) bytes += int64_t(done);
  }
  long rate;
  int ch = 2, enc;
  mpg123_getformat(mh, &rate, &ch, &enc);
  mpg123_close(mh);
  mpg123_delete(mh);
  return bytes / (4 * ch);
}

FLAC__StreamDecoderWriteStatus flacWrite(const FLAC__StreamDecoder*, const FLAC__Frame* f, const FLAC__int32* const[],
                                         void* frames) {
  *static_cast<int64_t*>(frames) += f->header.blocksize;
  return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}
void flacError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {}

int64_t flacPass(const std::string& path) {
  FLAC__StreamDecoder* d = FLAC__stream_decoder_new();
  int64_t frames = 0;
  if (FLAC__stream_decoder_init_file(d, path.c_str(), flacWrite, nullptr, flacError, &frames) ==
      FLAC__STREAM_DECODER_INIT_STATUS_OK)
    FLAC__stream_decoder_process_until_end_of_stream(d);
  FLAC__stream_decoder_finish(d);
  FLAC__stream_decoder_delete(d);
  return frames;
}

int64_t vorbisPass(const std::string& path) {
  OggVorbis_File vf;
  if (ov_fopen(path.c_str(), &vf) != 0) return 0;
  int64_t frames = 0;
  float** pcm;
  int link;
  long n;
  while ((n = ov_read_float(&vf, &pcm, 4096, &link)) > 0 || n == OV_HOLE) frames += n > 0 ? n : 0;
  ov_clear(&vf);
  return frames;
}

int64_t opusPass(const std::string& path) {
  OggOpusFile* of = op_open_file(path.c_str(), nullptr);
  if (!of) return 0;
  static std::vector<float> buf(5760 * 8);
  int64_t frames = 0;
  int n;
  while ((n = op_read_float(of, buf.data(), int(buf.size()), nullptr)) > 0 || n == OP_HOLE) frames += n > 0 ? n : 0;
  op_free(of);
  return frames;
}

struct Case {
  const char* file;
  const char* plugin;
  int rate, channels;
  int64_t (*raw)(const std::string&);
};

// Times real time of `pass` over a file of `seconds` of audio.
double speed(const std::function<int64_t()>& pass, double seconds) {
  double perPass = zvbench::secondsPerItem([&](int64_t n) {
    for (int64_t i = 0; i < n; ++i) pass();
  }, 0.5);
  return seconds / perPass;
}

}  // namespace

int main() {
  const std::string media = zvbench::workDir() + "\\media\\";
  const Case cases[] = {
      {"cbr320.mp3", "mp3.dec", 44100, 2, mpg123Pass},
      {"s44.flac", "flac.dec", 44100, 2, flacPass},
      {"s96.flac", "flac.dec", 96000, 2, flacPass},
      {"vorbis.ogg", "ogg.dec", 44100, 2, vorbisPass},
      {"opus.opus", "ogg.dec", 48000, 2, opusPass},
  };
  for (const Case& c : cases) {
    const std::string path = media + c.file;
    Plugin p = loadPlugin(c.plugin);
    if (!p.open) {
      std::printf("%s: plug-in %s not found\n", c.file, c.plugin);
      continue;
    }
    const int64_t frames = pluginPass(p, path, c.rate, c.channels);
    if (frames <= 0 || c.raw(path) <= 0) {
      std::printf("%s: missing (run ./zv bench, which makes the media)\n", c.file);
      continue;
    }
    const double seconds = double(frames) / c.rate;
    // Alternate the two measurements so that machine noise hits both alike.
    double raw = 0, viaPlugin = 0;
    for (int round = 0; round < 3; ++round) {
      raw += speed([&] { return c.raw(path); }, seconds);
      viaPlugin += speed([&] { return pluginPass(p, path, c.rate, c.channels); }, seconds);
    }
    raw /= 3;
    viaPlugin /= 3;
    const std::string name = std::string(c.file) + " ";
    zvbench::report(name + "library loop", raw, "x real time");
    zvbench::report(name + "decRead, native rate, 16-bit", viaPlugin, "x real time");
    zvbench::report(name + "plug-in overhead", (raw / viaPlugin - 1) * 100, "%");
    const int other = c.rate == 48000 ? 44100 : 48000;
    if (c.rate == 44100 || c.rate == 48000) {
      double resampled = speed([&] { return pluginPass(p, path, other, c.channels); }, seconds);
      zvbench::report(name + "decRead, resampled to " + std::to_string(other), resampled, "x real time");
    }
  }
  return 0;
}
