// The titles of a disc in the CD Player's database text and the playlist a
// medium names in its autorun.inf: read as the system's profile reader
// hands them out (case and blanks of names ignored, one pair of quotes
// stripped, cut to the buffer without halving a character).
#include <gtest/gtest.h>

#include <string>

#include "metadata/cdplayer_titles.h"
#include "playlist/autorun_text.h"
#include "zv_cddb.h"

namespace {

const char kIni[] =
    "[Other]\r\nartist=Not this one\r\n"
    "[1A2B3C]\r\nEntryType=1\r\n ARTIST = Some Artist \r\ntitle=\"Quoted Album\"\r\nnumtracks=4\r\n"
    "0=One\r\n1='Two'\r\n2=\"Three\r\n  3  =  \"\"  \r\n";

TEST(CdPlayerTitles, readsTheDiscsSectionAsTheProfileReaderWould) {
  const zv::CdPlayerTitles t = zv::cdPlayerTitles(kIni, "1a2b3c", 5);
  EXPECT_EQ(t.artist, "Some Artist");
  EXPECT_EQ(t.title, "Quoted Album");
  ASSERT_EQ(t.tracks.size(), 5u);
  EXPECT_EQ(t.tracks[0], "One");
  EXPECT_EQ(t.tracks[1], "Two");
  EXPECT_EQ(t.tracks[2], "\"Three") << "an unpaired quote stays";
  EXPECT_EQ(t.tracks[3], "") << "an empty pair of quotes is no title";
  EXPECT_EQ(t.tracks[4], "");
}

TEST(CdPlayerTitles, countsAndLengthsAreBounded) {
  EXPECT_TRUE(zv::cdPlayerTitles(kIni, "1A2B3C", -3).tracks.empty());
  EXPECT_EQ(zv::cdPlayerTitles(kIni, "1A2B3C", 5000).tracks.size(), size_t(ZV_CDDB_MAX_TRACKS));
  EXPECT_EQ(zv::cdPlayerTitles(kIni, "missing", 2).artist, "");
  const std::string longIni = "[X]\r\nartist=" + std::string(300, 'a') + "\r\n0=" + std::string(1100, 't') + "\r\n";
  const zv::CdPlayerTitles t = zv::cdPlayerTitles(longIni, "X", 1);
  EXPECT_EQ(t.artist, std::string(255, 'a'));
  EXPECT_EQ(t.tracks[0], std::string(1023, 't'));
}

TEST(AutorunText, theZorvakSectionsPlaylistKey) {
  EXPECT_EQ(zv::autorunPlaylistName("[autorun]\r\nopen=x.exe\r\n[Zorvak]\r\nPlaylist=cd.m3u\r\n"), "cd.m3u");
  EXPECT_EQ(zv::autorunPlaylistName("[zorvak]\n  playlist = \"music\\list.m3u\"  \n"), "music\\list.m3u");
  EXPECT_EQ(zv::autorunPlaylistName("[autorun]\r\nPlaylist=cd.m3u\r\n"), "");
  EXPECT_EQ(zv::autorunPlaylistName("Playlist=cd.m3u\r\n[Zorvak]\r\nother=1\r\n"), "") << "a key before any section";
  EXPECT_EQ(zv::autorunPlaylistName("[Zorvak]\r\nPlaylist=" + std::string(400, 'n') + "\r\n"), std::string(260, 'n'));
}

}  // namespace
