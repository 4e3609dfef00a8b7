#include "playlist/sort_keys.h"

#include <windows.h>

#include "foundation/text_util.h"
#include "metadata/fast_desc.h"
#include "playlist/tag_image.h"

namespace zv {
namespace {

constexpr size_t kFastDescMax = 256;

std::string tagKey(const std::string& name, int32_t key, const std::string& desc) {
  TagImage image;
  if (!readTagImage(name.c_str(), image)) return " " + desc;
  std::string field;
  switch (key) {
    case plSortArtist: field = tagArtist(image); break;
    case plSortTitle: field = tagTitle(image); break;
    case plSortAlbum: field = tagAlbum(image); break;
    case plSortYear: field = tagYear(image); break;
    default: field = tagTrack(image); break;
  }
  return field + " " + desc;
}

std::string baseKey(PlaylistHandle* pl, int32_t i, int32_t key) {
  std::string name = plGetName(pl, i);
  std::string desc = plGetDesc(pl, i);
  switch (key) {
    case plSortFileName: return fileNamePart(name) + " " + desc;
    case plSortFullName: return name + " " + desc;
    case plSortDesc: {
      if (!desc.empty()) return desc;
      std::string quick = fastDescText(name);
      if (quick.size() > kFastDescMax) quick.resize(kFastDescMax);
      return quick;
    }
    case plSortArtist:
    case plSortTitle:
    case plSortAlbum:
    case plSortYear:
    case plSortTrack: return tagKey(name, key, desc);
    default: return {};
  }
}

char kindPrefix(uint32_t flags, int32_t mode) {
  if (mode & plSortDirsFirst) return (flags & lfDirectory) ? '1' : (flags & lfPlaylist) ? '2' : '3';
  if (mode & plSortFilesFirst) return (flags & lfDirectory) ? '2' : (flags & lfPlaylist) ? '3' : '1';
  return 0;
}

}  // namespace

std::string withoutLeadingNumber(const std::string& key) {
  size_t i = 0;
  while (i < key.size() && key[i] >= '0' && key[i] <= '9') ++i;
  if (i == 0) return key;
  while (i < key.size() && key[i] == ' ') ++i;
  while (i < key.size() && (key[i] == ')' || key[i] == '-' || key[i] == '.')) ++i;
  while (i < key.size() && key[i] == ' ') ++i;
  return key.substr(i);
}

std::string sortKeyOf(PlaylistHandle* pl, int32_t i, int32_t mode) {
  std::string key = baseKey(pl, i, mode & 0xFFFF);
  if (mode & plSortNoLeadingNumber) key = withoutLeadingNumber(key);
  if (char prefix = kindPrefix(lineRec(pl, i)->flags, mode)) key.insert(key.begin(), prefix);
  if (!key.empty()) CharLowerBuffA(key.data(), static_cast<DWORD>(key.size()));
  return key;
}

}  // namespace zv
