#include "eq_preset.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "eq_scale.h"
#include "win32/owners.h"

namespace zv::eq {

EqPreset flatPreset() { return EqPreset{}; }

std::optional<EqPreset> presetFromBytes(const void* data, size_t size) {
  if (!data || size != kPresetBytes) return std::nullopt;
  EqPreset p;
  std::memcpy(&p, data, kPresetBytes);
  p.preamp = clampGain(p.preamp, kPreamp);
  for (int b = 0; b < kBands; ++b) p.gains[b] = clampGain(p.gains[b], b);
  return p;
}

EqPreset presetOf(const ZvEqualizer& block) {
  EqPreset p;
  p.preamp = block.preamp;
  std::copy(std::begin(block.gains), std::end(block.gains), p.gains);
  return p;
}

void putPreset(ZvEqualizer& block, const EqPreset& preset) {
  block.preamp = preset.preamp;
  std::copy(std::begin(preset.gains), std::end(preset.gains), block.gains);
}

ZvEqualizer sanitizedBlock(const ZvEqualizer& block) {
  ZvEqualizer b = block;
  b.enabled = b.enabled ? -1 : 0;
  b.preamp = clampGain(b.preamp, kPreamp);
  for (int i = 0; i < kBands; ++i) {
    b.gains[i] = clampGain(b.gains[i], i);
    b.bandOff[i] = b.bandOff[i] ? -1 : 0;
  }
  return b;
}

std::string cleanPresetName(const std::string& typed) {
  std::string name = typed;
  for (char& c : name)
    if (std::strchr("*/:<>?\\|", c) && c) c = '-';
  const size_t first = name.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return name.substr(first, name.find_last_not_of(" \t") - first + 1);
}

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
