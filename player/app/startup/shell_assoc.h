// The shell registrations of the file-types page: which extensions open in
// the player, the folder, drive and audio CD verbs, the three file types and
// "App Paths". The roots are passed in (ShellRoots), so that tests write
// under a private key of the real registry; the program passes the classes
// root and the local machine.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "startup/shell_unreg.h"

namespace zv {

// A user-typed extension as a registry key name: "." and 1 to 15 of
// [A-Za-z0-9_~$-], lower case (a missing dot is added); nullopt for anything
// else, as a "\" would make nested keys and a "," would split "userExt".
std::optional<std::string> normaliseExtension(const std::string& text);
// The valid extensions of a comma-separated list, normalised, first
// occurrence kept.
std::vector<std::string> splitExtensions(const std::string& list);
std::string joinExtensions(const std::vector<std::string>& extensions);
// ".m3u", ".z3u", ".pls", ".aap".
bool isPlaylistExtension(const std::string& ext);

// One group of the extension tree.
struct AssocGroup {
  std::string caption;
  std::vector<std::string> extensions;
  bool userDefined = false;
};
// A library or plug-in kind that plays files: its caption and its
// comma-separated extension list.
struct ExtensionSource {
  std::string caption;
  std::string extensions;
};
using TranslateFn = std::function<std::string(const char* localised)>;
// Playlists, one group per decoder library, one per input kind, then the
// user-defined group ("userExt"); groups without extensions are left out,
// except the user-defined one, which takes the user's additions.
std::vector<AssocGroup> buildExtensionTree(const std::vector<ExtensionSource>& decoders,
                                           const std::vector<ExtensionSource>& inputKinds, const std::string& userExt,
                                           const TranslateFn& translate);

// The state shown when the page opens.
bool isAssociated(HKEY classes, const std::string& ext);
bool folderVerbsRegistered(HKEY classes);
bool audioCdRegistered(HKEY classes);

struct AssocChoice {
  std::vector<std::pair<std::string, bool>> extensions;  // tree order, checked
  bool folders = false;
  bool audioCd = false;
};
struct AssocProgram {
  std::string launcher;  // "<launcher folder>\zorvak.exe", started by every verb
  std::string iconFile;  // the file whose icons 1, 2 and 3 the types show
};
struct AssocTexts {
  std::string openVerb = "Play with Zorvak";
  std::string enqueueVerb = "Add to Zorvak playlist";
};

// The verbs' command lines; the program path is quoted, as a folder with a
// space would otherwise be split by the shell.
std::string openCommand(const std::string& launcher);
std::string enqueueCommand(const std::string& launcher);
// The launcher of a player program: the folder above the program's folder
// + "\zorvak.exe".
std::string launcherOf(const std::string& playerExe);

// Writes every registration in order; stops at the first refusal and
// returns its error (ERROR_SUCCESS when all were written). Registrations
// written before a refusal stay. `notifyShell` is called once at the end
// of a complete write.
LONG writeShellRegistrations(const ShellRoots& roots, const AssocChoice& choice, const AssocProgram& program,
                             const AssocTexts& texts, const std::function<void()>& notifyShell);

}  // namespace zv
