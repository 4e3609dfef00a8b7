#include "startup/shell_assoc.h"

#include <algorithm>

#include "startup/shell_registry.h"
#include "win32/owners.h"

namespace zv {

namespace {

const char* const kPlaylistExtensions[] = {".m3u", ".z3u", ".pls", ".aap"};

bool extensionChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '~' || c == '$' || c == '-';
}

// Stops at the first refusal: every step goes through `run`.
struct Writer {
  LONG error = ERROR_SUCCESS;
  bool ok() const { return error == ERROR_SUCCESS; }
  bool check(LONG r) {
    if (ok() && r != ERROR_SUCCESS) error = r;
    return ok();
  }
  UniqueRegKey create(HKEY root, const std::string& path) {
    UniqueRegKey key;
    if (ok()) check(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                                    key.put(), nullptr));
    return key;
  }
  void setDefault(HKEY root, const std::string& path, const std::string& value) {
    UniqueRegKey key = create(root, path);
    if (ok()) check(regSetString(key.get(), nullptr, value));
  }
  void remove(HKEY root, const std::string& path) {
    if (!ok()) return;
    LONG r = RegDeleteTreeA(root, path.c_str());
    if (r == ERROR_SUCCESS || r == ERROR_FILE_NOT_FOUND) r = RegDeleteKeyA(root, path.c_str());
    if (r != ERROR_FILE_NOT_FOUND) check(r);
  }
};

// Gives a key the default it had before we took it: the kept "orgdef" (an
// empty one: the key had none), then drops "orgdef".
LONG restoreOrgDef(HKEY key, const std::string& saved) {
  LONG r = saved.empty() ? RegDeleteValueA(key, nullptr) : regSetString(key, nullptr, saved);
  if (r == ERROR_FILE_NOT_FOUND) r = ERROR_SUCCESS;
  if (r == ERROR_SUCCESS) r = RegDeleteValueA(key, kOrgDefValue);
  return r;
}

void writeExtension(Writer& w, HKEY classes, const std::string& ext, bool checked) {
  UniqueRegKey key = w.create(classes, ext);
  if (!w.ok()) return;
  const std::optional<std::string> current = regString(key.get(), nullptr);
  const std::optional<std::string> saved = regString(key.get(), kOrgDefValue);
  if (checked) {
    // Our own type is never kept as the previous one: it would come back on
    // every removal and the association could never be undone.
    if (!saved && !(current && isOurTypeName(*current))) w.check(regSetString(key.get(), kOrgDefValue, current.value_or("")));
    const char* type = ext == ".cda" ? kShellTypeNames[2] : isPlaylistExtension(ext) ? kShellTypeNames[1] : kShellTypeNames[0];
    if (w.ok()) w.check(regSetString(key.get(), nullptr, type));
  } else if (current && isOurTypeName(*current)) {
    // Still ours: back to what it was (nothing, when nothing was kept).
    w.check(saved ? restoreOrgDef(key.get(), *saved) : RegDeleteValueA(key.get(), nullptr));
  }
  key.reset();
  if (w.ok()) w.create(classes, ext + "\\OpenWithList\\zorvak.exe");
}

void writeType(Writer& w, HKEY classes, int index, const AssocProgram& program, const AssocTexts& texts) {
  const std::string type = kShellTypeNames[index];
  w.setDefault(classes, type, type);
  w.setDefault(classes, type + "\\shell", "open");
  w.setDefault(classes, type + "\\shell\\open", texts.openVerb);
  w.setDefault(classes, type + "\\shell\\open\\command", openCommand(program.launcher));
  w.setDefault(classes, type + "\\shell\\enqueue", texts.enqueueVerb);
  w.setDefault(classes, type + "\\shell\\enqueue\\command", enqueueCommand(program.launcher));
  w.setDefault(classes, type + "\\DefaultIcon", program.iconFile + "," + std::to_string(index + 1));
}

void writeAudioCd(Writer& w, HKEY classes, bool checked, const std::string& launcher) {
  if (checked) {
    UniqueRegKey key = w.create(classes, kAudioCdCommandKey);
    if (!w.ok()) return;
    const std::optional<std::string> current = regString(key.get(), nullptr);
    if (!regString(key.get(), kOrgDefValue) && !(current && mentionsOurProgram(*current)))
      w.check(regSetString(key.get(), kOrgDefValue, current.value_or("")));
    if (w.ok()) w.check(regSetString(key.get(), nullptr, openCommand(launcher)));
    return;
  }
  UniqueRegKey key;
  if (RegOpenKeyExA(classes, kAudioCdCommandKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.put()) != ERROR_SUCCESS)
    return;
  // Another player that took the verb over since keeps it.
  const std::optional<std::string> current = regString(key.get(), nullptr);
  if (!current || !mentionsOurProgram(*current)) return;
  const std::optional<std::string> saved = regString(key.get(), kOrgDefValue);
  w.check(saved ? restoreOrgDef(key.get(), *saved) : RegDeleteValueA(key.get(), nullptr));
}

}  // namespace

std::optional<std::string> normaliseExtension(const std::string& text) {
  std::string ext = text;
  while (!ext.empty() && (ext.front() == ' ' || ext.front() == '\t')) ext.erase(ext.begin());
  while (!ext.empty() && (ext.back() == ' ' || ext.back() == '\t')) ext.pop_back();
  if (!ext.empty() && ext.front() == '.') ext.erase(ext.begin());
  if (ext.empty() || ext.size() > 15) return std::nullopt;
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (!extensionChar(c)) return std::nullopt;
  }
  return "." + ext;
}

std::vector<std::string> splitExtensions(const std::string& list) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= list.size()) {
    size_t comma = list.find(',', start);
    if (comma == std::string::npos) comma = list.size();
    if (auto ext = normaliseExtension(list.substr(start, comma - start)))
      if (std::find(out.begin(), out.end(), *ext) == out.end()) out.push_back(*ext);
    start = comma + 1;
  }
  return out;
}

std::string joinExtensions(const std::vector<std::string>& extensions) {
  std::string out;
  for (const std::string& e : extensions) out += (out.empty() ? "" : ",") + e;
  return out;
}

bool isPlaylistExtension(const std::string& ext) {
  return std::any_of(std::begin(kPlaylistExtensions), std::end(kPlaylistExtensions),
                     [&](const char* p) { return ext == p; });
}

std::vector<AssocGroup> buildExtensionTree(const std::vector<ExtensionSource>& decoders,
                                           const std::vector<ExtensionSource>& inputKinds, const std::string& userExt,
                                           const TranslateFn& translate) {
  std::vector<AssocGroup> tree;
  tree.push_back({translate("Playlists###Playlists"), {std::begin(kPlaylistExtensions), std::end(kPlaylistExtensions)}});
  for (const auto* sources : {&decoders, &inputKinds})
    for (const ExtensionSource& s : *sources) {
      AssocGroup g{s.caption, splitExtensions(s.extensions)};
      if (!g.extensions.empty()) tree.push_back(std::move(g));
    }
  tree.push_back({translate("UserDefined###User-defined"), splitExtensions(userExt), true});
  return tree;
}

bool isAssociated(HKEY classes, const std::string& ext) {
  UniqueRegKey key;
  if (RegOpenKeyExA(classes, ext.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return false;
  const std::optional<std::string> current = regString(key.get(), nullptr);
  return current && isOurTypeName(*current);
}

bool folderVerbsRegistered(HKEY classes) {
  UniqueRegKey key;
  return RegOpenKeyExA(classes, kFolderVerbKeys[0], 0, KEY_QUERY_VALUE, key.put()) == ERROR_SUCCESS;
}

bool audioCdRegistered(HKEY classes) {
  UniqueRegKey key;
  if (RegOpenKeyExA(classes, kAudioCdCommandKey, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return false;
  const std::optional<std::string> current = regString(key.get(), nullptr);
  return current && mentionsOurProgram(*current);
}

std::string openCommand(const std::string& launcher) { return "\"" + launcher + "\" /enqueue /start /find \"%1\""; }
std::string enqueueCommand(const std::string& launcher) { return "\"" + launcher + "\" /enqueue \"%1\""; }

std::string launcherOf(const std::string& playerExe) {
  std::string folder = playerExe.substr(0, playerExe.find_last_of('\\') == std::string::npos ? 0 : playerExe.find_last_of('\\'));
  const size_t up = folder.find_last_of('\\');
  folder = up == std::string::npos ? std::string() : folder.substr(0, up);
  return folder + "\\zorvak.exe";
}

LONG writeShellRegistrations(const ShellRoots& roots, const AssocChoice& choice, const AssocProgram& program,
                             const AssocTexts& texts, const std::function<void()>& notifyShell) {
  Writer w;
  for (const auto& [ext, checked] : choice.extensions)
    if (!ext.empty() && ext[0] == '.' && normaliseExtension(ext) == ext) writeExtension(w, roots.classes, ext, checked);
  for (int i = 0; i < 3; ++i) writeType(w, roots.classes, i, program, texts);
  w.remove(roots.classes, "AudioCD\\shell\\zvplay");
  w.remove(roots.classes, "AudioCD\\shell\\zvenqueue");
  for (const char* verb : kFolderVerbKeys) {
    if (!choice.folders) {
      w.remove(roots.classes, verb);
      continue;
    }
    const bool play = std::string(verb).find("zvplay") != std::string::npos;
    w.setDefault(roots.classes, verb, play ? texts.openVerb : texts.enqueueVerb);
    w.setDefault(roots.classes, std::string(verb) + "\\command",
                 play ? openCommand(program.launcher) : enqueueCommand(program.launcher));
  }
  writeAudioCd(w, roots.classes, choice.audioCd, program.launcher);
  w.setDefault(roots.machine, kAppPathsKey, program.launcher);
  if (w.ok() && notifyShell) notifyShell();
  return w.error;
}

}  // namespace zv
