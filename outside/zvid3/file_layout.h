// Where the tags and the audio lie in a file, found without TagLib so that
// a write can check that the audio came through unchanged.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace zvid3 {

struct FileLayout {
  int64_t size = 0;
  int64_t id3v2End = 0;     // end of the ID3v2 tag at offset 0 (0 when none)
  bool id3v2Broken = false; // the tag claims to run past the end of the file
  bool hasId3v1 = false;    // the last 128 bytes are an ID3v1 tag
  bool tagless = false;     // a container that keeps its tags its own way
};

// Reads the layout through an open handle; false when the file cannot be read.
bool readLayout(HANDLE file, FileLayout& layout);

// True for paths that can never hold ID3 tags whatever their content (CD
// tracks).
bool taglessByName(const std::wstring& path);

}  // namespace zvid3
