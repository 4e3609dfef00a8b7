// The preset files of "<user dir>\eqpreset\": listed, read and written.
#include <windows.h>

#include <algorithm>

#include "eq_preset.h"
#include "win32/owners.h"

namespace zv::eq {

std::vector<std::string> listPresetFiles(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &data));
  if (!find) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
  } while (FindNextFileA(find.get(), &data));
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
  });
  return names;
}

std::optional<EqPreset> readPresetFile(const std::string& path) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart != static_cast<LONGLONG>(kPresetBytes)) return std::nullopt;
  char bytes[kPresetBytes];
  DWORD got = 0;
  if (!ReadFile(file.get(), bytes, sizeof(bytes), &got, nullptr)) return std::nullopt;
  return presetFromBytes(bytes, got);
}

bool writePresetFile(const std::string& folder, const std::string& name, const EqPreset& preset) {
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string path = folder + "\\" + name;
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), &preset, sizeof(preset), &written, nullptr) && written == sizeof(preset);
}

}  // namespace zv::eq
