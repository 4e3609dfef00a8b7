#include "about/third_party.h"

namespace zv {

// The versions follow tools/third-party.sh (Debian 12's source packages).
std::span<const ThirdPartyLibrary> thirdPartyLibraries() {
  static const ThirdPartyLibrary kLibraries[] = {
      {"libmpg123", "1.31.2", "GNU LGPL 2.1", "plugins\\mp3.dec", "mpg123"},
      {"libFLAC", "1.4.2", "BSD 3-clause (Xiph.Org)", "plugins\\flac.dec", "libFLAC 1.4.2"},
      {"libogg", "1.3.5", "BSD 3-clause (Xiph.Org)", "plugins\\flac.dec, plugins\\ogg.dec", nullptr},
      {"libvorbis", "1.3.7", "BSD 3-clause (Xiph.Org)", "plugins\\ogg.dec", "libVorbis 1.3.7"},
      {"Opus", "1.3.1", "BSD 3-clause (Xiph.Org)", "plugins\\ogg.dec", "libopus 1.3.1"},
      {"opusfile", "0.12", "BSD 3-clause (Xiph.Org)", "plugins\\ogg.dec", "OggOpusFile"},
      {"TagLib", "1.13", "GNU LGPL 2.1 or MPL 1.1", "bin\\zvid3.dll", "TagLib"},
      // Built without the GPL parts, so the whole set is under the LGPL.
      {"FFmpeg (libavformat, libavcodec, libswscale, libswresample)", "5.1.9", "GNU LGPL 2.1 or later",
       "plugins\\video.z", "FFmpeg v%d.%d.%d"},
      {"zlib", "1.2.13", "zlib licence", "bin\\zvid3.dll", "inflate 1.2.13"},
      {"MinGW-w64 runtime and GCC's libraries", "(GCC 12)",
       "ZPL 2.1, MIT (winpthreads), GPL 3 with the GCC Runtime Library Exception", "every program", nullptr},
  };
  return kLibraries;
}

}  // namespace zv
