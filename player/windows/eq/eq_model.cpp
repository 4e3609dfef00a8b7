#include "eq_model.h"

#include <windows.h>

#include <cstring>

#include "eq_scale.h"
#include "zv_config.h"
#include "zv_infocache.h"
#include "zv_memory.h"

namespace zv::eq {
namespace {

constexpr char kRecord[] = "EQ";

std::string configText(const char* key) {
  char value[260] = {};
  configString(key, value, "");
  return value;
}

bool startsWith(const std::string& text, const char* prefix, std::string& rest) {
  const size_t n = std::strlen(prefix);
  if (text.compare(0, n, prefix) != 0) return false;
  rest = text.substr(n);
  return true;
}

std::optional<EqPreset> folderRecord(const std::string& folder) {
  void* data = nullptr;
  int32_t length = 0;
  cacheRecBuf(folder.c_str(), kRecord, &data, &length);
  std::optional<EqPreset> preset = presetFromBytes(data, data && length > 0 ? static_cast<size_t>(length) : 0);
  if (data) _mfree(data);
  return preset;
}

// A preset name from a menu command is a plain file name, never a path.
bool plainName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("\\/:") == std::string::npos;
}

}  // namespace

EqModel::EqModel(std::string presetFolder, Translate translate)
    : presetFolder_(std::move(presetFolder)), translate_(std::move(translate)) {
  putPreset(block_, flatPreset());
}

void EqModel::start() {
  ZvEqualizer stored{};
  if (configRec("dspData", &stored, sizeof(stored))) {
    block_ = sanitizedBlock(stored);
    outSetEqualizer(&block_);
  } else {
    outGetEqualizer(&block_);
    block_ = sanitizedBlock(block_);
  }
  const int32_t source = configInt("eqSource", 0);
  source_ = source >= 0 && source <= 2 ? static_cast<EqSource>(source) : EqSource::flat;
  file_ = configText("eqFile");
  changed_ = false;
  autoMode_ = false;
  autoFolder_.clear();
}

void EqModel::settle() {
  if (autoMode_) leaveAutoMode();
}

void EqModel::notify() {
  if (onChange) onChange();
}

void EqModel::applyAndStore() {
  block_ = sanitizedBlock(block_);
  outSetEqualizer(&block_);
  setConfigRec("dspData", &block_, sizeof(block_));
}

void EqModel::apply() {
  applyAndStore();
  changed_ = true;
  notify();
}

void EqModel::setGain(int slider, float gain) {
  if (slider < kPreamp || slider >= kBands) return;
  (slider == kPreamp ? block_.preamp : block_.gains[slider]) = clampGain(gain, slider);
  apply();
}

void EqModel::setBandOn(int band, bool on) {
  if (band < 0 || band >= kBands) return;
  block_.bandOff[band] = on ? 0 : -1;
  apply();
}

void EqModel::setEnabled(bool on) {
  block_.enabled = on ? -1 : 0;
  applyAndStore();
  notify();
}

void EqModel::setWidth(int32_t width) {
  block_.width = width;
  apply();
}

void EqModel::chooseSource(EqSource source, const std::string& name) {
  source_ = source;
  file_ = name;
  if (!autoMode_) {
    setConfigInt("eqSource", static_cast<int32_t>(source_));
    setConfigString("eqFile", file_.c_str());
  }
  changed_ = false;
}

// A preset that cannot be read (missing, damaged, of another size) leaves
// the curve as it is.
void EqModel::load() {
  std::optional<EqPreset> preset;
  switch (source_) {
    case EqSource::flat: preset = flatPreset(); break;
    case EqSource::file:
      if (plainName(file_)) preset = readPresetFile(presetFolder_ + "\\" + file_);
      break;
    case EqSource::autoLoad: preset = folderRecord(file_); break;
  }
  if (preset) {
    putPreset(block_, *preset);
    applyAndStore();
  }
  notify();
}

bool EqModel::save() {
  const EqPreset preset = presetOf(block_);
  bool ok = true;
  if (source_ == EqSource::file)
    ok = plainName(file_) && writePresetFile(presetFolder_, file_, preset);
  else if (source_ == EqSource::autoLoad)
    setCacheRecBuf(file_.c_str(), kRecord, &preset, sizeof(preset));
  notify();
  return ok;
}

bool EqModel::command(const std::string& text) {
  std::string arg;
  if (text == "load_flat") {
    chooseSource(EqSource::flat, translate_ ? translate_("EqFlatName###Flat") : "Flat");
    load();
  } else if (startsWith(text, "load_preset:", arg)) {
    chooseSource(EqSource::file, arg);
    load();
  } else if (startsWith(text, "save_preset:", arg)) {
    chooseSource(EqSource::file, arg);
    save();
  } else if (startsWith(text, "load_autoload:", arg)) {
    chooseSource(EqSource::autoLoad, arg);
    load();
  } else if (startsWith(text, "save_autoload:", arg)) {
    chooseSource(EqSource::autoLoad, arg);
    save();
  } else if (startsWith(text, "del_autoload:", arg)) {
    delCacheRec(arg.c_str(), kRecord);
    notify();
  } else if (startsWith(text, "del:", arg)) {
    if (plainName(arg)) DeleteFileA((presetFolder_ + "\\" + arg).c_str());
    notify();
  } else {
    return false;
  }
  return true;
}

bool EqModel::saveOther(const std::string& typed) {
  const std::string name = cleanPresetName(typed);
  if (!plainName(name)) return false;
  chooseSource(EqSource::file, name);
  return save();
}

void EqModel::leaveAutoMode() {
  autoMode_ = false;
  autoFolder_.clear();
  const int32_t source = configInt("eqSource", 0);
  source_ = source >= 0 && source <= 2 ? static_cast<EqSource>(source) : EqSource::flat;
  file_ = configText("eqFile");
  changed_ = configBool("eqChanged", ZV_FALSE) != 0;
  EqPreset saved;
  if (configRec("eqSave", &saved, sizeof(saved))) {
    if (std::optional<EqPreset> safe = presetFromBytes(&saved, sizeof(saved))) putPreset(block_, *safe);
    applyAndStore();
  }
  notify();
}

void EqModel::autoLoad(const std::string& file) {
  std::string found;
  for (const std::string& folder : ancestorFolders(file))
    if (folderRecord(folder)) {
      found = folder;
      break;
    }
  if (found.empty()) {
    if (autoMode_) leaveAutoMode();
    return;
  }
  if (!autoMode_) {
    const EqPreset current = presetOf(block_);
    setConfigRec("eqSave", &current, sizeof(current));
    setConfigBool("eqChanged", changed_ ? ZV_TRUE : ZV_FALSE);
    setConfigInt("eqSource", static_cast<int32_t>(source_));
    setConfigString("eqFile", file_.c_str());
  } else if (lstrcmpiA(autoFolder_.c_str(), found.c_str()) == 0) {
    return;
  }
  autoFolder_ = found;
  autoMode_ = true;
  chooseSource(EqSource::autoLoad, found);
  load();
}

std::vector<std::string> EqModel::presetNames() const { return listPresetFiles(presetFolder_); }

std::vector<std::string> EqModel::ancestorFolders(const std::string& file) {
  std::vector<std::string> folders;
  for (size_t at = file.rfind('\\'); at != std::string::npos && at > 0; at = file.rfind('\\', at - 1)) {
    std::string folder = file.substr(0, at);
    if (folder.size() >= 2 && folder.back() != '\\') folders.push_back(std::move(folder));
  }
  return folders;
}

bool EqModel::hasAutoLoadRecord(const std::string& folder) { return folderRecord(folder).has_value(); }

std::vector<std::string> EqModel::autoLoadFolders(const std::string& file, bool withRecord) const {
  std::vector<std::string> out;
  for (const std::string& folder : ancestorFolders(file))
    if (!withRecord || hasAutoLoadRecord(folder)) out.push_back(folder);
  return out;
}

}  // namespace zv::eq
