// Shared by the playlist file, sorting and adding tests: the engine set up
// once per executable (own configuration section, test extensions, a CD
// database folder of the test's own), real files, and playlist dumps.
#pragma once
#include <string>
#include <vector>

#include "zv_playlist.h"

namespace pltest {

// Configuration section, "userExt" = ".mp3,.wav,.flac", "cddbDir" inside the
// test folder, initPlugins. Safe to call from every test.
void ensureEngine();

// Writes / reads a whole file as text (bytes as they stand).
void writeText(const std::string& path, const std::string& text);
std::string readText(const std::string& path);
bool exists(const std::string& path);

// "name@level" per line; with flags: "name@level#hexflags"; headings show
// ">desc" in place of the empty name.
std::vector<std::string> dump(Playlist pl, bool withFlags = false);

// Creates the folders and (empty or given) files, paths relative to `root`;
// a name ending in '\' is a folder.
void makeTree(const std::string& root, const std::vector<std::string>& entries);

// An owned playlist.
struct OwnedPl {
  Playlist pl = createPlaylist(-1);
  ~OwnedPl() { freePlaylist(pl); }
  operator Playlist() const { return pl; }
};

}  // namespace pltest
