#include "sequencing/disc_changes.h"

#include <windows.h>

#include <cctype>

#include "zv_cdaudio.h"

namespace zv {

bool offerDiscForAutoplay(const std::string& driveRoot, const std::string& cdAutoOpen) {
  std::string root = driveRoot;
  if (root.empty() || root.back() != '\\') root += '\\';
  std::string inf = root + "autorun.inf";
  if (GetFileAttributesA(inf.c_str()) != INVALID_FILE_ATTRIBUTES) {
    char value[64] = {};
    GetPrivateProfileStringA("Zorvak", "AutoOpen", "", value, sizeof(value), inf.c_str());
    if (value[0] && std::string(value) != "0") return true;
  }
  size_t start = 0;
  while (start <= cdAutoOpen.size()) {
    size_t bar = cdAutoOpen.find('|', start);
    std::string name = cdAutoOpen.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    if (!name.empty() && name.find("..") == std::string::npos &&
        GetFileAttributesA((root + name).c_str()) != INVALID_FILE_ATTRIBUTES)
      return true;
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return false;
}

int32_t dropChangedDiscLines(Playlist pl, const std::function<std::optional<std::string>(char)>& discId,
                             const std::function<std::string(char)>& storedId) {
  int32_t deleted = 0;
  bool again = true;
  while (again) {
    again = false;
    for (char drive = 'A'; drive <= 'Z' && !again; ++drive) {
      std::optional<std::string> id = discId(drive);
      if (!id) continue;
      if (!id->empty() && lstrcmpiA(id->c_str(), storedId(drive).c_str()) == 0) continue;
      int32_t count = plGetCount(pl);
      for (int32_t i = 0; i < count; ++i) {
        const char* name = plGetName(pl, i);
        if (name[0] && name[1] == ':' && std::toupper(static_cast<unsigned char>(name[0])) == drive) {
          plDelBranch(pl, i);
          ++deleted;
          again = true;  // start over from drive A
          break;
        }
      }
    }
  }
  return deleted;
}

void storeDiscIds(const std::function<std::optional<std::string>(char)>& discId,
                  const std::function<void(char, const std::string&)>& store) {
  for (char drive = 'A'; drive <= 'Z'; ++drive)
    if (std::optional<std::string> id = discId(drive)) store(drive, *id);
}

std::optional<std::string> presentDiscId(char letter) {
  const char root[] = {letter, ':', '\\', 0};
  if (GetDriveTypeA(root) != DRIVE_CDROM) return std::nullopt;
  char id[64] = {};
  getCDId(letter, id);
  return std::string(id);
}

}  // namespace zv
