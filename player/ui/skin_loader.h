// Loading skins from disk: one skin file with its bitmap, and the main
// window's pair of skins (full and mini state) with the fall-back to the
// default skin. Failures are results: the caller (the player core) decides
// whether to show "Skin load failed" and whether to end the process.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "skin_model.h"

namespace zv::ui {

enum class SkinLoadError {
  none,
  missingFiles,  // a skin file or bitmap was not found (message caption "Zorvak")
  noLines,       // the skin file yielded no line (message caption "Error")
};

struct SkinLoadResult {
  std::unique_ptr<TSkin> skin;
  SkinLoadError error = SkinLoadError::none;
  bool ok() const { return skin != nullptr; }
};

// Loads a skin file and its bitmap. A missing bitmap is not an error here
// (the frame and control pictures draw plain fall-backs without it); a skin
// file that cannot be read or holds no line is.
SkinLoadResult loadSkin(const std::string& sknPath, const std::string& bmpPath);

// The message box a failed load shows: text "Skin load failed", caption
// "Zorvak" for missing files and "Error" for a skin file without lines.
const char* skinLoadFailedText();
const char* skinLoadFailedCaption(SkinLoadError error);

// The main window's skins of one skin name.
struct MainSkins {
  std::unique_ptr<TSkin> full;
  std::unique_ptr<TSkin> mini;
  std::string name;  // the skin name that was loaded
};

enum class MainSkinPurpose {
  startUp,  // the configured skin fails: "Default" is tried before giving up
  change,   // a skin chosen while running: a failure leaves everything as it was
};

struct MainSkinResult {
  MainSkins skins;
  SkinLoadError error = SkinLoadError::none;
  bool fellBackToDefault = false;  // start-up: the configured skin failed, "Default" loaded
  bool ok() const { return skins.full != nullptr; }
  // The process exit code the failure calls for: 255 at start-up once even
  // "Default" failed; 0 (go on) for a failed change.
  int exitCode = 0;
};

// Loads "<root>\skins\<name>\main.skn"/"main.bmp" and the same under "\mini";
// each file that does not exist is taken from "<root>\skins\default\" (and
// "\skins\default\mini\"). `root` has no final "\".
MainSkinResult loadMainSkins(const std::string& root, const std::string& name, MainSkinPurpose purpose);

// What the loaded skins refused or could not find (includes refused as
// cycles or too deep, missing files, limits hit), one line each, naming the
// skin and the state: the program writes them as diagnostic lines.
std::vector<std::string> skinProblemLines(const MainSkins& skins);

// "<root>\skins\<name>" + "\main.skn" etc.: the file actually used.
std::string mainSkinFile(const std::string& root, const std::string& name, bool mini, const char* file);

}  // namespace zv::ui
