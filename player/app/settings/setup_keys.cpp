#include "settings/setup_keys.h"

#include <algorithm>

#include "zv_config.h"
#include "zv_plugins.h"

namespace zv {

namespace {

using K = SetupKind;

std::string parentFolder(const std::string& folder) {
  const size_t slash = folder.find_last_of('\\');
  return slash == std::string::npos ? folder : folder.substr(0, slash);
}

std::string readText(const char* key, const std::string& def) {
  // configString writes at most 260 bytes (its MAX_PATH contract); a longer
  // buffer leaves room.
  char buffer[2048] = {};
  configString(key, buffer, def.c_str());
  return buffer;
}

}  // namespace

const std::vector<SetupKey>& setupKeys() {
  static const std::vector<SetupKey> keys = {
      {"autoStart", K::boolean, 1, nullptr},     {"tbPlaylist", K::boolean, 1, nullptr},
      {"tbFile", K::boolean, 1, nullptr},        {"tbSeek", K::boolean, 0, nullptr},
      {"tbPlay", K::boolean, 1, nullptr},        {"scrollTitle", K::boolean, 1, nullptr},
      {"trayAnim", K::boolean, 1, nullptr},      {"tbHints", K::boolean, 1, nullptr},
      {"TagFmt", K::text, 0, nullptr},           {"minMode_0", K::integer, 2, nullptr},
      {"minMode_1", K::integer, 1, nullptr},     {"hotkeyMod", K::integer, 0, nullptr},
      {"cddbDir", K::text, 0, nullptr},          {"lyrDir", K::text, 0, nullptr},
      {"lyrInDb", K::boolean, 1, nullptr},       {"lyrDbFmt", K::text, 0, nullptr},
      {"lyrSrcFmt", K::text, 0, nullptr},        {"videoFx", K::integer, 0, nullptr},
      {"alphaconst", K::integer, 220, nullptr},  {"alphamain", K::integer, 180, nullptr},
      {"alphagrad", K::integer, 255, nullptr},   {"texture", K::text, 0, ""},
      {"newStyleBrowse", K::boolean, 1, nullptr}, {"newStyleOpen", K::boolean, 1, nullptr},
      {"menuStyle", K::integer, 0, nullptr},     {"showGroupTime", K::boolean, 1, nullptr},
      {"showTrackTime", K::boolean, 1, nullptr}, {"showTooltips", K::boolean, 1, nullptr},
      {"autoOemCvt", K::boolean, 0, nullptr},    {"cdAutoOpen", K::text, 0, "playlist.m3u|cd.m3u"},
      {"Lang", K::text, 0, "en"},
  };
  return keys;
}

std::string setupTextDefault(const std::string& key, const std::string& baseDir, const std::string& programDir) {
  if (key == "TagFmt") return "@[%a%t][@[%n][%n. ]%a \"%t\"]";
  if (key == "cddbDir") return baseDir + "\\cddb";
  if (key == "lyrDir") return parentFolder(programDir) + "\\lyrics";
  if (key == "lyrDbFmt") return "@[%a%t][%a - %t.txt]![%a%t][%f.txt]";
  if (key == "lyrSrcFmt") return "%f.%e.txt";
  for (const SetupKey& k : setupKeys())
    if (key == k.name && k.text) return k.text;
  return {};
}

int32_t SetupValues::number(const std::string& key) const {
  auto it = numbers.find(key);
  return it == numbers.end() ? 0 : it->second;
}

const std::string& SetupValues::text(const std::string& key) const {
  static const std::string empty;
  auto it = texts.find(key);
  return it == texts.end() ? empty : it->second;
}

SetupValues readSetupValues(const std::string& baseDir, const std::string& programDir) {
  SetupValues values;
  for (const SetupKey& k : setupKeys()) {
    switch (k.kind) {
      case K::boolean: values.numbers[k.name] = configBool(k.name, k.number ? ZV_TRUE : ZV_FALSE) ? 1 : 0; break;
      case K::integer: values.numbers[k.name] = configInt(k.name, k.number); break;
      case K::text: values.texts[k.name] = readText(k.name, setupTextDefault(k.name, baseDir, programDir)); break;
    }
  }
  return values;
}

void writeSetupValues(const SetupValues& values) {
  for (const SetupKey& k : setupKeys()) {
    switch (k.kind) {
      case K::boolean: setConfigBool(k.name, values.number(k.name) ? ZV_TRUE : ZV_FALSE); break;
      case K::integer: setConfigInt(k.name, values.number(k.name)); break;
      case K::text: {
        std::string text = values.text(k.name);
        if (text.empty() && std::string(k.name) == "Lang") text = "en";
        setConfigString(k.name, text.c_str());
        break;
      }
    }
  }
}

std::vector<std::string> splitAutoOpen(const std::string& setting) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= setting.size()) {
    size_t bar = setting.find('|', start);
    if (bar == std::string::npos) bar = setting.size();
    if (bar > start) names.push_back(setting.substr(start, bar - start));
    start = bar + 1;
  }
  return names;
}

std::string joinAutoOpen(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names)
    if (!n.empty() && n.find('|') == std::string::npos) out += (out.empty() ? "" : "|") + n;
  return out;
}

int priorityEntry(int32_t priority) {
  int entry = 0;
  for (int i = 0; i < 4; ++i)
    if (priority >= kPriorityChoices[i]) entry = i;
  return entry;
}

int visFramesEntry(int32_t frames) {
  int entry = 0;
  for (int i = 0; i < 3; ++i)
    if (frames >= kVisFrameChoices[i]) entry = i;
  return entry;
}

AdvSetupValues readAdvSetupValues() {
  AdvSetupValues v;
  v.decoderPriority = configInt("decoder_priority", 2);
  v.visPriority = configInt("vis_priority", 2);
  v.winampVisPriority = configInt("winampvis_priority", 1);
  v.samplerPriority = configInt("sampler_priority", 2);
  v.noSampler = configBool("noSampler", ZV_FALSE) != 0;
  v.preferFP = configBool("PreferFP", ZV_TRUE) != 0;
  ZvOutParams params{};
  outGetParams(&params);
  v.waveOutPriority = params.priority;
  v.visFrames = params.visFrames;
  return v;
}

void applyAdvSetupValues(const AdvSetupValues& v) {
  setConfigInt("decoder_priority", v.decoderPriority);
  setConfigInt("vis_priority", v.visPriority);
  setConfigInt("winampvis_priority", v.winampVisPriority);
  setConfigInt("sampler_priority", v.samplerPriority);
  setConfigBool("noSampler", v.noSampler ? ZV_TRUE : ZV_FALSE);
  setConfigBool("PreferFP", v.preferFP ? ZV_TRUE : ZV_FALSE);
  ZvOutParams params{};
  outGetParams(&params);
  params.priority = v.waveOutPriority;
  params.visFrames = v.visFrames;
  outSetParams(&params);
  // What the library took (it may refuse a value) is what is stored.
  outGetParams(&params);
  setConfigRec("outParams", &params, sizeof(params));
  pluginMsgX(0, msgConfigChanged);
}

}  // namespace zv
