// The location shapes and the relative form that playlist files store.
// Pure text work with the code page passed in, so that tests run the very
// same code under a double-byte code page; the exports in paths.cpp pass the
// active one (0).
#pragma once
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/text_util.h"

namespace zv {

// Longest location the engine hands out (callers' buffers hold one more byte).
constexpr size_t kPathMax = 260;

// "C:\..." (also a bare "C:"): the second character is ':'.
inline bool isDrivePath(std::string_view path) { return path.size() >= 2 && path[1] == ':'; }

// "\\server\share\...".
inline bool isUncPath(std::string_view path) { return path.size() >= 2 && path[0] == '\\' && path[1] == '\\'; }

// A pseudo-location such as "CD:\1A2B3C4D.m3u": its first ":\" starts at the
// third character or later. ':' is never a trail byte, so a byte search is safe.
bool isPseudoLocation(std::string_view path);

// `path` without its trailing '\' characters (trail bytes 0x5C stay).
std::string_view withoutTrailingSeparators(std::string_view path, unsigned codePage = 0);

// Two locations name the same place: equal ignoring case and trailing '\'.
bool sameLocation(std::string_view a, std::string_view b, unsigned codePage = 0);

// Turns a stored form back into a location, relative to the playlist file
// `base`: drive, UNC and pseudo-locations stand as they are, "..\x" climbs
// from base's folder (never above its first component), "\x" keeps base's
// drive or UNC share. Trailing '\' are removed.
std::string decodeRelForm(std::string_view base, std::string_view rel, unsigned codePage = 0);

// The form to store for `path` in the playlist file `base`: relative to
// base's folder when both share their first component (drive or UNC root),
// else `path` unchanged. Pseudo-locations are never changed.
std::string makeRelForm(std::string_view base, std::string_view path, unsigned codePage = 0);

// A descriptive key made fit for a folder name: each of * : < > ? | becomes
// '-' and '/' becomes '\'. Trail bytes are left alone ('|' can be one).
std::string sanitizeName(std::string_view text, unsigned codePage = 0);

}  // namespace zv
