// Files for the tag tests: the media that make-tagged.sh made with Debian's
// tag tools, copies to write to, and tags built byte by byte.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace tagtest {

// A file of the media folder ("utf16-v23.mp3"), as a Windows path.
std::string media(const std::string& name);

// Copies a media file into a fresh folder named `dir`; returns the copy.
std::string copyOf(const std::string& name, const std::string& dir);

std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

// The file's bytes behind its leading ID3v2 tag (the audio and any trailer).
std::string afterId3v2(const std::string& bytes);

// Names of the files in `dir` (to catch leftover temporary files).
std::vector<std::string> filesIn(const std::string& dir);

// An ID3v2.3 frame with a plain size, and a whole tag of such frames.
std::string frame23(const std::string& id, const std::string& body);
std::string tag23(const std::vector<std::string>& frames, size_t padding = 0);

}  // namespace tagtest
