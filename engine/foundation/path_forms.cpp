#include "foundation/path_forms.h"

namespace zv {

bool isPseudoLocation(std::string_view path) {
  size_t at = path.find(":\\");
  return at != std::string_view::npos && at >= 2;
}

std::string_view withoutTrailingSeparators(std::string_view path, unsigned codePage) {
  size_t keep = 0;
  for (size_t i = 0; i < path.size(); i += charSizeAt(path, i, codePage))
    if (path[i] != '\\') keep = i + charSizeAt(path, i, codePage);
  return path.substr(0, keep);
}

bool sameLocation(std::string_view a, std::string_view b, unsigned codePage) {
  return sameTextIgnoringCase(withoutTrailingSeparators(a, codePage), withoutTrailingSeparators(b, codePage),
                              codePage);
}

std::string decodeRelForm(std::string_view base, std::string_view rel, unsigned codePage) {
  if (isPseudoLocation(rel)) return std::string(rel);
  std::string result;
  if (isDrivePath(rel) || isUncPath(rel)) {
    result = rel;
  } else if (rel.empty() || rel[0] != '\\') {
    size_t baseSep = lastSeparator(base, codePage);
    if (baseSep == std::string_view::npos) {
      // A base without a folder gives nothing to relate to; writing the form
      // under it would turn "a.mp3" into the root-relative "\a.mp3".
      result = rel;
    } else {
      std::vector<std::string> baseParts = splitPath(base.substr(0, baseSep), codePage);
      std::vector<std::string> relParts = splitPath(rel, codePage);
      size_t ups = 0;
      while (ups < relParts.size() && relParts[ups] == "..") ++ups;
      // Climbing stops at the first component (the drive); surplus ".." vanish.
      size_t keep = baseParts.size() - std::min(ups, baseParts.size() - 1);
      for (size_t i = 0; i < keep; ++i) result += baseParts[i] + '\\';
      for (size_t i = ups; i < relParts.size(); ++i) result += relParts[i] + '\\';
      result.pop_back();
    }
  } else if (base.size() >= 3 && isAsciiLetter(base[0]) && base[1] == ':' && base[2] == '\\') {
    result = std::string(base.substr(0, 2)) + std::string(rel);
  } else {
    std::vector<std::string> baseParts;
    if (isUncPath(base)) baseParts = splitPath(base, codePage);
    if (baseParts.size() > 3)
      result = "\\\\" + baseParts[2] + '\\' + baseParts[3] + std::string(rel);
    else
      result = rel;
  }
  return std::string(withoutTrailingSeparators(result, codePage));
}

std::string makeRelForm(std::string_view base, std::string_view path, unsigned codePage) {
  std::string unchanged(path);
  if (isPseudoLocation(path)) return unchanged;
  size_t baseSep = lastSeparator(base, codePage);
  size_t pathSep = lastSeparator(path, codePage);
  if (baseSep == std::string_view::npos || pathSep == std::string_view::npos) return unchanged;

  std::vector<std::string> baseParts = splitPath(base.substr(0, baseSep), codePage);
  std::string rel;
  if (!relform::folderForm(baseParts, path.substr(0, pathSep), codePage, rel)) return unchanged;
  rel += path.substr(pathSep + 1);

  // Only a form that reads back to this very location is stored. The others
  // would lose or move the entry: an empty form (the playlist's own folder)
  // is skipped as a blank line, a form cut at kPathMax names another file,
  // and doubled separators or a ":\" inside a name turn into a root-relative
  // or pseudo form.
  if (rel.empty() || rel.size() > kPathMax || !sameLocation(decodeRelForm(base, rel, codePage), path, codePage))
    return unchanged;
  return rel;
}

std::string sanitizeName(std::string_view text, unsigned codePage) {
  std::string out(text);
  for (size_t i = 0; i < out.size();) {
    size_t n = charSizeAt(out, i, codePage);
    if (n == 1) {
      char& c = out[i];
      if (c == '*' || c == ':' || c == '<' || c == '>' || c == '?' || c == '|')
        c = '-';
      else if (c == '/')
        c = '\\';
    }
    i += n;
  }
  return out;
}

}  // namespace zv
