#include "menus/vis_data.h"

#include <charconv>

#include "zv_config.h"

namespace zv {

VisData defaultVisData() {
  VisData d{};
  d.mode = ZV_VIS_SPECTRUM;
  const uint32_t gradient[3] = {0x008000, 0x00FFFF, 0x0000FF};
  for (int i = 0; i < 3; ++i) d.gradient1[i] = d.gradient2[i] = gradient[i];
  d.color = 0xFFFFFF;
  d.trailDecay = 16;
  d.barFall = 18;
  d.peak = 5;
  return d;
}

bool applyDisplayCommand(VisData& d, const std::string& c) {
  static const int32_t kTrail[] = {8, 16, 32}, kFall[] = {12, 18, 24}, kPeak[] = {0, 10, 5, 3};
  auto speed = [&](const char* prefix, int32_t first, int32_t last) -> int32_t {
    std::string p = prefix;
    if (c.size() != p.size() + 1 || c.compare(0, p.size(), p) != 0) return -1;
    int32_t n = c.back() - '0';
    return n >= first && n <= last ? n : -1;
  };
  if (c == "_scope") d.mode = ZV_VIS_SCOPE;
  else if (c == "_spec") d.mode = ZV_VIS_SPECTRUM;
  else if (c == "_off") d.mode = ZV_VIS_OFF;
  else if (c == "_rx") d.flags[visReverseFrequency] = !d.flags[visReverseFrequency];
  else if (c == "_ry") d.flags[visReverseAmplitude] = !d.flags[visReverseAmplitude];
  else if (c == "_halfrate") d.halfRate = !d.halfRate;
  else if (int32_t n = speed("_scopefade", 1, 3); n > 0) d.trailDecay = kTrail[n - 1];
  else if (int32_t n = speed("_specfall", 1, 3); n > 0) d.barFall = kFall[n - 1];
  else if (int32_t n = speed("_peaks", 0, 3); n >= 0) d.peak = kPeak[n];
  else return false;
  return true;
}

std::optional<VisPluginChoice> parseVisPluginCommand(const std::string& argument) {
  VisPluginChoice choice;
  size_t comma = argument.rfind(',');
  choice.name = argument.substr(0, comma);
  if (comma != std::string::npos) {
    const char* first = argument.data() + comma + 1;
    const char* last = argument.data() + argument.size();
    auto [end, ec] = std::from_chars(first, last, choice.module);
    if (ec != std::errc() || end != last || choice.module < 0) return std::nullopt;
  }
  return choice;
}

void rememberVisPlugin(const VisPluginChoice& choice) {
  if (choice.name.empty()) return;
  setConfigString("lastVisC", choice.name.c_str());
  setConfigInt("lastVisN", choice.module);
}

std::optional<VisPluginChoice> lastVisPlugin() {
  char name[1024] = {};
  configString("lastVisC", name, "");
  if (!name[0]) return std::nullopt;
  return VisPluginChoice{name, configInt("lastVisN", 0)};
}

VisData readVisData() {
  VisData d{};
  if (!configRec("visData", &d, sizeof(d))) d = defaultVisData();
  d.skinDir[sizeof(d.skinDir) - 1] = 0;  // a stored record is not trusted to end its text
  return d;
}

void storeVisData(const VisData& data) { setConfigRec("visData", &data, sizeof(data)); }

}  // namespace zv
