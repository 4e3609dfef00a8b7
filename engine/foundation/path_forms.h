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

// decodeRelForm for many forms read against one base, as a text playlist
// gives them: the common form (a name, or folders below the base's folder)
// is joined to the base's folder without taking either apart; every other
// form goes through decodeRelForm itself. The results are the same.
class RelFormDecoder {
 public:
  explicit RelFormDecoder(std::string_view base, unsigned codePage = 0) : base_(base), codePage_(codePage) {
    size_t sep = lastSeparator(base_, codePage_);
    if (sep != std::string_view::npos) folder_ = base_.substr(0, sep + 1);
  }

  const std::string& base() const { return base_; }

  std::string decode(std::string_view rel) const {
    bool climbs = rel.size() >= 2 && rel[0] == '.' && rel[1] == '.' && (rel.size() == 2 || rel[2] == '\\');
    if (folder_.empty() || rel.empty() || rel[0] == '\\' || climbs || isPseudoLocation(rel) || isDrivePath(rel) ||
        isUncPath(rel))
      return decodeRelForm(base_, rel, codePage_);
    std::string result;
    result.reserve(folder_.size() + rel.size());
    result += folder_;
    result += rel;
    // Only a text whose last byte is 0x5C can end in a separator.
    if (result.back() != '\\') return result;
    return std::string(withoutTrailingSeparators(result, codePage_));
  }

 private:
  std::string base_;
  std::string folder_;  // the base's folder and its separator, or "" without one
  unsigned codePage_;
};

namespace relform {

// The folder part of the form stored for a location whose folder (the text
// before its last separator) is `pathFolder`, in a playlist file whose
// folder has the components `baseParts`: "..\\" for each base component past
// the ones both share, then the location's own further components, each
// followed by '\\'. False when the two do not share their first component
// (drive or UNC root): the location is then stored unchanged.
inline bool folderForm(const std::vector<std::string>& baseParts, std::string_view pathFolder, unsigned codePage,
                       std::string& out) {
  std::vector<std::string> pathParts = splitPath(pathFolder, codePage);
  if (!sameTextIgnoringCase(baseParts[0], pathParts[0], codePage)) return false;
  size_t common = 0;
  while (common < baseParts.size() && common < pathParts.size() &&
         sameTextIgnoringCase(baseParts[common], pathParts[common], codePage))
    ++common;
  out.clear();
  for (size_t i = common; i < baseParts.size(); ++i) out += "..\\";
  for (size_t i = common; i < pathParts.size(); ++i) out += pathParts[i] + '\\';
  return true;
}

}  // namespace relform

// The form to store for `path` in the playlist file `base`: relative to
// base's folder when both share their first component (drive or UNC root),
// else `path` unchanged. Pseudo-locations are never changed.
std::string makeRelForm(std::string_view base, std::string_view path, unsigned codePage = 0);

// makeRelForm for many locations written into one playlist file, as a
// playlist gives them (folder by folder): the folder part of the form is
// worked out once per run of locations in one folder, and a location is
// then its folder's form plus its name. Where that shortcut could differ
// from makeRelForm (an unusual name, a folder whose form does not read back
// to exactly that folder) makeRelForm itself decides. The results are the
// same.
class RelFormEncoder {
 public:
  explicit RelFormEncoder(std::string_view base, unsigned codePage = 0) : base_(base), codePage_(codePage) {
    baseSep_ = lastSeparator(base_, codePage_);
    if (baseSep_ != std::string_view::npos) baseParts_ = splitPath(std::string_view(base_).substr(0, baseSep_), codePage_);
  }

  std::string encode(std::string_view path) {
    std::string out;
    appendEncoded(out, path);
    return out;
  }

  // Appends the form of `path` to `out` (a playlist's text being built).
  void appendEncoded(std::string& out, std::string_view path) {
    if (baseSep_ == std::string_view::npos || isPseudoLocation(path)) {
      out += makeRelForm(base_, path, codePage_);
      return;
    }
    // Without double-byte characters the last separator is the last '\\'.
    size_t pathSep = singleByte_ ? path.rfind('\\') : lastSeparator(path, codePage_);
    std::string_view folder = path.substr(0, pathSep == std::string_view::npos ? 0 : pathSep);
    std::string_view name = path.substr(pathSep == std::string_view::npos ? 0 : pathSep + 1);
    if (pathSep == std::string_view::npos || !plainName(name)) {
      out += makeRelForm(base_, path, codePage_);
      return;
    }
    if (!known_ || folder != folder_) learnFolder(folder);
    switch (kind_) {
      case FolderKind::unchanged: out += path; return;
      case FolderKind::joined:
        if (form_.size() + name.size() > kPathMax) {
          out += path;
        } else {
          out += form_;
          out += name;
        }
        return;
      default: out += makeRelForm(base_, path, codePage_); return;
    }
  }

 private:
  enum class FolderKind { unchanged, joined, perLocation };

  // A name that cannot change how the form around it reads back: not
  // empty, not "..", without ':' and without the byte 0x5C (not even as a
  // trail byte).
  static bool plainName(std::string_view name) {
    return !name.empty() && name != ".." && name.find(':') == std::string_view::npos &&
           name.find('\\') == std::string_view::npos;
  }

  void learnFolder(std::string_view folder) {
    known_ = true;
    folder_.assign(folder);
    if (!relform::folderForm(baseParts_, folder_, codePage_, form_)) {
      kind_ = FolderKind::unchanged;
      return;
    }
    // What the form reads back to is the same text before any plain name,
    // so the check makeRelForm makes per location (reads back to the same
    // place, ignoring case) has one answer for the whole folder. Ignoring
    // case goes character by character, which holds for any name only where
    // characters cannot straddle the joint: in a single-byte code page.
    std::string back = decodeRelForm(base_, form_ + "a", codePage_), probe = folder_ + "\\a";
    bool same = back == probe || (singleByteCodePage(codePage_) && sameLocation(back, probe, codePage_));
    kind_ = same ? FolderKind::joined : FolderKind::perLocation;
  }

  static bool singleByteCodePage(unsigned codePage) {
    CPINFO info = {};
    return GetCPInfo(codePage, &info) && info.MaxCharSize == 1;
  }

  std::string base_;
  unsigned codePage_;
  bool singleByte_ = singleByteCodePage(codePage_);
  size_t baseSep_;
  std::vector<std::string> baseParts_;
  bool known_ = false;
  std::string folder_, form_;
  FolderKind kind_ = FolderKind::perLocation;
};

// A descriptive key made fit for a folder name: each of * : < > ? | becomes
// '-' and '/' becomes '\'. Trail bytes are left alone ('|' can be one).
std::string sanitizeName(std::string_view text, unsigned codePage = 0);

}  // namespace zv
