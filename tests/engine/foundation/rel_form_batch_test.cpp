// The batch forms of the relative-path rule (RelFormDecoder for reading a
// text playlist, RelFormEncoder for writing one) hold to decodeRelForm and
// makeRelForm, form by form, under the active code page and under Shift-JIS
// where a trail byte can be '\'.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "foundation/path_forms.h"

namespace {

constexpr unsigned kShiftJis = 932;
const std::string kHyou = "\x95\x5C";  // a character whose trail byte is '\'

const std::vector<std::string> kBases = {
    "C:\\Music\\list.m3u", "C:\\list.m3u", "c:\\music\\sub\\List.M3U", "\\\\srv\\share\\lists\\a.m3u",
    "list.m3u", "C:\\" + kHyou + "\\list.m3u", "C:\\a:\\b\\list.m3u", "C:\\Music\\\\list.m3u"};

const std::vector<std::string> kForms = {
    "a.mp3", "Sub\\a.mp3", "Sub\\", "Sub\\\\", "..\\a.mp3", "..\\..\\..\\..\\a.mp3", "..", "..x\\a.mp3", ".\\a.mp3",
    "\\a.mp3", "\\\\srv\\share\\a.mp3", "D:\\a.mp3", "D:", "CD:\\8A09BC0B.m3u", "x:y\\a.mp3", "a\\..\\b.mp3",
    kHyou + ".mp3", kHyou, "Sub\\" + kHyou, "a" + kHyou + "\\", "...\\a.mp3", "a.mp3\\\\\\", "\\"};

}  // namespace

TEST(RelFormBatch, decoderGivesWhatDecodeRelFormGives) {
  for (unsigned cp : {0u, kShiftJis}) {
    for (const std::string& base : kBases) {
      zv::RelFormDecoder decoder(base, cp);
      for (const std::string& form : kForms)
        EXPECT_EQ(decoder.decode(form), zv::decodeRelForm(base, form, cp)) << base << " | " << form << " cp " << cp;
    }
  }
}

namespace {

const std::vector<std::string> kLocations = {
    "C:\\Music\\a.mp3", "C:\\Music\\b.mp3", "c:\\MUSIC\\c.mp3", "C:\\Music\\Sub\\a.mp3", "C:\\Music\\Sub\\b.mp3",
    "C:\\Music\\Sub\\", "C:\\Music\\Sub\\..", "C:\\Music\\Sub\\x:y.mp3", "C:\\Music\\", "C:\\a.mp3", "C:\\Other\\a.mp3",
    "C:\\Other\\a.mp3", "D:\\Music\\a.mp3", "d:\\music\\a.mp3", "\\\\srv\\share\\a.mp3", "\\\\srv\\share\\lists\\b.mp3",
    "CD:\\8A09BC0B\\track01.cda", "a.mp3", "C:\\Music\\" + std::string(250, 'n') + ".mp3",
    "C:\\Music\\Sub\\" + std::string(240, 'n') + ".mp3", "C:\\Music\\\\a.mp3", "C:\\Music\\\\b.mp3",
    "C:\\" + kHyou + "\\a.mp3", "C:\\" + kHyou + "\\" + kHyou + ".mp3", "C:\\Music\\" + kHyou + "x.mp3",
    "C:\\a:\\b\\c.mp3", "C:\\Music\\a.mp3"};

}  // namespace

TEST(RelFormBatch, encoderGivesWhatMakeRelFormGivesInAnyOrder) {
  for (unsigned cp : {0u, kShiftJis}) {
    for (const std::string& base : kBases) {
      // Forwards, backwards and each location twice in a row: the folder
      // remembered from the line before must never leak into the next.
      std::vector<std::string> order = kLocations;
      order.insert(order.end(), kLocations.rbegin(), kLocations.rend());
      for (const std::string& l : kLocations) order.insert(order.end(), {l, l});
      zv::RelFormEncoder encoder(base, cp);
      for (const std::string& location : order)
        EXPECT_EQ(encoder.encode(location), zv::makeRelForm(base, location, cp))
            << base << " | " << location << " cp " << cp;
    }
  }
}
