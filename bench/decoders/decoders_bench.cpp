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
int64_t pluginPass(const Plugin& p, const std::string& path, int rate, int channels, int bits = 16,
                   uint32_t flags = ZV_DEC_PREFER_FLOAT) {
  ZvDecOpenRec o{};
  o.fileName = path.c_str();
  o.flags = flags;
  o.sampleRate = rate;
  if (p.open(&o) != 0) return 0;
  static std::vector<int32_t> buf(4096 * 8);  // room for 32-bit samples
  int64_t frames = 0;
  for (;;) {
    ZvDecReadRec r{o.handle, buf.data(), ZV_DEC_READ_CONSTANT, 4096, rate, bits, channels};
    if (p.read(&r) != 0) break;
    frames += r.frames;
  }
  ZvDecCloseRec c{o.handle};
  p.close(&c);
  return frames;
}

// The codec libraries' own loops, each producing the same interleaved 16-bit
// PCM the plug-in delivers, by the library's own means where it has one
// (ov_read, op_read, mpg123's 16-bit output); FLAC's callback interleaves.
int64_t mpg123PassAs(const std::string& path, int encoding) {
  mpg123_handle* mh = mpg123_new(nullptr, nullptr);
  mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0);
  mpg123_format_none(mh);
  const long* rates = nullptr;
  size_t count = 0;
  mpg123_rates(&rates, &count);
  for (size_t i = 0; i < count; ++i) mpg123_format(mh, rates[i], MPG123_MONO | MPG123_STEREO, encoding);
  int64_t bytes = 0;
  if (mpg123_open(mh, path.c_str()) == MPG123_OK) {
    static std::vector<unsigned char> buf(1 << 16);
    for (;;) {
      size_t done = 0;
      int r = mpg123_read(mh, buf.data(), buf.size(), &done);
      bytes += int64_t(done);
      if (r != MPG123_OK && r != MPG123_NEW_FORMAT) break;
    }
  }
  long rate;
  int ch = 2, enc;
  mpg123_getformat(mh, &rate, &ch, &enc);
  mpg123_close(mh);
  mpg123_delete(mh);
  return bytes / ((encoding == MPG123_ENC_FLOAT_32 ? 4 : 2) * ch);
}
int64_t mpg123Pass(const std::string& path) { return mpg123PassAs(path, MPG123_ENC_SIGNED_16); }

FLAC__StreamDecoderWriteStatus flacWrite(const FLAC__StreamDecoder*, const FLAC__Frame* f,
                                         const FLAC__int32* const planes[], void* frames) {
  static std::vector<int16_t> out;
  const unsigned n = f->header.blocksize, ch = f->header.channels, shift = f->header.bits_per_sample - 16;
  out.resize(size_t(n) * ch);
  for (unsigned i = 0; i < n; ++i)
    for (unsigned c = 0; c < ch; ++c) out[i * ch + c] = int16_t(planes[c][i] >> shift);
  *static_cast<int64_t*>(frames) += n;
  return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}
void flacError(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {}

// The same at the file's own depth, packed as 24-bit PCM is.
FLAC__StreamDecoderWriteStatus flacWrite24(const FLAC__StreamDecoder*, const FLAC__Frame* f,
                                           const FLAC__int32* const planes[], void* frames) {
  static std::vector<uint8_t> out;
  const unsigned n = f->header.blocksize, ch = f->header.channels;
  out.resize(size_t(n) * ch * 3);
  uint8_t* o = out.data();
  for (unsigned i = 0; i < n; ++i)
    for (unsigned c = 0; c < ch; ++c, o += 3) {
      const uint32_t v = uint32_t(planes[c][i]);
      o[0] = uint8_t(v);
      o[1] = uint8_t(v >> 8);
      o[2] = uint8_t(v >> 16);
    }
  *static_cast<int64_t*>(frames) += n;
  return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

int64_t flacPassWith(const std::string& path, FLAC__StreamDecoderWriteCallback write) {
  FLAC__StreamDecoder* d = FLAC__stream_decoder_new();
  int64_t frames = 0;
  if (FLAC__stream_decoder_init_file(d, path.c_str(), write, nullptr, flacError, &frames) ==
      FLAC__STREAM_DECODER_INIT_STATUS_OK)
    FLAC__stream_decoder_process_until_end_of_stream(d);
  FLAC__stream_decoder_finish(d);
  FLAC__stream_decoder_delete(d);
  return frames;
}
int64_t flacPass(const std::string& path) { return flacPassWith(path, flacWrite); }
int64_t flacPass24(const std::string& path) { return flacPassWith(path, flacWrite24); }

int64_t vorbisPass(const std::string& path) {
  OggVorbis_File vf;
  if (ov_fopen(path.c_str(), &vf) != 0) return 0;
  static std::vector<char> buf(1 << 16);
  int64_t bytes = 0;
  int link;
  long n;
  while ((n = ov_read(&vf, buf.data(), int(buf.size()), 0, 2, 1, &link)) > 0 || n == OV_HOLE) bytes += n > 0 ? n : 0;
  const int ch = ov_info(&vf, -1)->channels;
  ov_clear(&vf);
  return bytes / (2 * ch);
}

int64_t opusPass(const std::string& path) {
  OggOpusFile* of = op_open_file(path.c_str(), nullptr);
  if (!of) return 0;
  static std::vector<opus_int16> buf(5760 * 8);
  int64_t frames = 0;
  int n;
  while ((n = op_read(of, buf.data(), int(buf.size()), nullptr)) > 0 || n == OP_HOLE) frames += n > 0 ? n : 0;
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
    // The 16-bit decoding the user may choose instead of floating point, and
    // a 24-bit file played at its own depth.
    if (std::string(c.plugin) == "mp3.dec") {
      // What floating-point decoding costs in the library itself.
      double rawFloat = speed([&] { return mpg123PassAs(path, MPG123_ENC_FLOAT_32); }, seconds);
      zvbench::report(name + "library loop, float", rawFloat, "x real time");
      zvbench::report(name + "plug-in overhead over the float loop", (rawFloat / viaPlugin - 1) * 100, "%");
      double fixed = speed([&] { return pluginPass(p, path, c.rate, c.channels, 16, 0); }, seconds);
      zvbench::report(name + "decRead, PreferFP off", fixed, "x real time");
      zvbench::report(name + "plug-in overhead, PreferFP off", (raw / fixed - 1) * 100, "%");
    }
    if (std::string(c.file) == "s96.flac") {
      double raw24 = 0, plugin24 = 0;
      for (int round = 0; round < 3; ++round) {
        raw24 += speed([&] { return flacPass24(path); }, seconds) / 3;
        plugin24 += speed([&] { return pluginPass(p, path, c.rate, c.channels, 24); }, seconds) / 3;
      }
      zvbench::report(name + "library loop, 24-bit", raw24, "x real time");
      zvbench::report(name + "decRead, 24-bit", plugin24, "x real time");
      zvbench::report(name + "plug-in overhead, 24-bit", (raw24 / plugin24 - 1) * 100, "%");
    }
    const int other = c.rate == 48000 ? 44100 : 48000;
    if (c.rate == 44100 || c.rate == 48000) {
      double resampled = speed([&] { return pluginPass(p, path, other, c.channels); }, seconds);
      zvbench::report(name + "decRead, resampled to " + std::to_string(other), resampled, "x real time");
    }
  }
  return 0;
}
