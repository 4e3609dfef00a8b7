#include "skin_loader.h"

#include "foundation/legacy_text.h"

namespace zv::ui {

namespace {

std::optional<std::string> readSkinFile(const std::string& path) {
  std::string content;
  if (!readWholeFile(path, content, kSkinFileLimit)) return std::nullopt;
  // Skin authors wrote their hints and captions in their own code page:
  // under the UTF-8 active code page a file that is not UTF-8 is taken as
  // the legacy one.
  return fileTextToActive(content).text;
}

bool hasAnyLine(const std::vector<std::string>& lines) {
  for (const auto& line : lines)
    if (!line.empty()) return true;
  return false;
}

}  // namespace

SkinLoadResult loadSkin(const std::string& sknPath, const std::string& bmpPath) {
  SkinLoadResult result;
  SkinBitmap bitmap(loadBitmapFile(bmpPath));
  SkinLines lines = readSkinLines(sknPath, readSkinFile);
  if (!lines.fileRead) {
    result.error = SkinLoadError::missingFiles;
    return result;
  }
  if (!hasAnyLine(lines.lines)) {
    result.error = SkinLoadError::noLines;
    return result;
  }
  result.skin = parseSkin(lines.lines, {bitmap.width(), bitmap.height()});
  result.skin->bitmap = std::move(bitmap);
  result.skin->folder = skinFolderOf(sknPath);
  result.skin->problems = std::move(lines.problems);
  if (result.skin->bitmap.empty()) result.skin->problems.push_back("bitmap missing or unreadable: " + bmpPath);
  return result;
}

const char* skinLoadFailedText() { return "Skin load failed"; }

const char* skinLoadFailedCaption(SkinLoadError error) { return error == SkinLoadError::noLines ? "Error" : "Zorvak"; }

std::string mainSkinFile(const std::string& root, const std::string& name, bool mini, const char* file) {
  std::string tail = std::string(mini ? "\\mini\\" : "\\") + file;
  std::string own = root + "\\skins\\" + name + tail;
  if (fileExists(own)) return own;
  return root + "\\skins\\default" + tail;
}

namespace {

// One skin name, both states; the main files must exist (after the
// per-file fall-back) or the load fails.
MainSkinResult loadOne(const std::string& root, const std::string& name) {
  MainSkinResult result;
  std::unique_ptr<TSkin> states[2];
  for (int mini = 0; mini < 2; ++mini) {
    std::string skn = mainSkinFile(root, name, mini, "main.skn");
    std::string bmp = mainSkinFile(root, name, mini, "main.bmp");
    if (!fileExists(skn) || !fileExists(bmp)) {
      // A skin without a mini state shows its full state there.
      if (mini) break;
      result.error = SkinLoadError::missingFiles;
      return result;
    }
    SkinLoadResult one = loadSkin(skn, bmp);
    if (!one.ok()) {
      result.error = one.error;
      return result;
    }
    // The main window draws everything from its bitmap: one that is there
    // but cannot be read (damaged, absurd sizes) leaves a window without a
    // picture, so it fails the load as a missing one does.
    if (one.skin->bitmap.empty()) {
      result.error = SkinLoadError::missingFiles;
      return result;
    }
    states[mini] = std::move(one.skin);
  }
  if (!states[1]) {
    std::string skn = mainSkinFile(root, name, false, "main.skn");
    states[1] = loadSkin(skn, mainSkinFile(root, name, false, "main.bmp")).skin;
  }
  result.skins.full = std::move(states[0]);
  result.skins.mini = std::move(states[1]);
  result.skins.name = name;
  return result;
}

}  // namespace

std::vector<std::string> skinProblemLines(const MainSkins& skins) {
  std::vector<std::string> lines;
  const TSkin* states[2] = {skins.full.get(), skins.mini.get()};
  for (int mini = 0; mini < 2; ++mini) {
    if (!states[mini] || (mini && states[1] == states[0])) continue;
    for (const std::string& problem : states[mini]->problems)
      lines.push_back("Skin \"" + skins.name + "\" (" + (mini ? "mini" : "full") + "): " + problem);
  }
  return lines;
}

MainSkinResult loadMainSkins(const std::string& root, const std::string& name, MainSkinPurpose purpose) {
  MainSkinResult result = loadOne(root, name);
  if (result.ok() || purpose == MainSkinPurpose::change) return result;
  if (!equalsNoCase(name, "default")) {
    MainSkinResult fallback = loadOne(root, "Default");
    if (fallback.ok()) {
      fallback.fellBackToDefault = true;
      return fallback;
    }
  }
  result.exitCode = 255;
  return result;
}

}  // namespace zv::ui
