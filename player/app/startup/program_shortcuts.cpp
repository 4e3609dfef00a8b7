#include "startup/program_shortcuts.h"

#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "startup/shell_assoc.h"
#include "win32/owners.h"

namespace zv {

namespace {

// COM for this call only, when the thread has none of its own yet.
struct ComScope {
  HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ~ComScope() {
    if (SUCCEEDED(hr)) CoUninitialize();
  }
};

std::wstring wide(const std::string& text) {
  const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
  std::wstring w(n > 0 ? n : 1, L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, w.data(), n);
  w.resize(w.size() - 1);
  return w;
}

std::string folderOfPath(const std::string& path) {
  const size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool fileExists(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

ComRef<IShellLinkA> newShellLink() {
  ComRef<IShellLinkA> link;
  CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.putVoid());
  return link;
}

}  // namespace

const std::vector<ShortcutCommand>& shortcutCommands() {
  static const std::vector<ShortcutCommand> commands = {
      {"idesk", "IconDesktop###Add icon to Desktop", ShortcutPlace::desktop},
      {"istart", "IconStart###Add icon to Start Menu", ShortcutPlace::startMenu},
      {"iprg", "IconPrograms###Add group to Programs Menu", ShortcutPlace::programsGroup},
      {"iql", "IconQuickLaunch###Add icon to QuickLaunch area", ShortcutPlace::quickLaunch},
  };
  return commands;
}

std::optional<ShortcutPlace> shortcutPlaceOf(std::string_view command) {
  for (const ShortcutCommand& c : shortcutCommands())
    if (command == c.command) return c.place;
  return std::nullopt;
}

HRESULT writeShortcut(const std::string& linkPath, const ShortcutLink& content) {
  ComScope com;
  ComRef<IShellLinkA> link = newShellLink();
  if (!link) return E_NOINTERFACE;
  HRESULT hr = link->SetPath(content.target.c_str());
  if (SUCCEEDED(hr)) hr = link->SetArguments(content.arguments.c_str());
  if (SUCCEEDED(hr)) hr = link->SetWorkingDirectory(content.workingDir.c_str());
  if (SUCCEEDED(hr) && !content.iconFile.empty()) hr = link->SetIconLocation(content.iconFile.c_str(), content.iconIndex);
  if (SUCCEEDED(hr)) hr = link->SetDescription(content.description.c_str());
  if (FAILED(hr)) return hr;
  ComRef<IPersistFile> file;
  hr = link->QueryInterface(IID_IPersistFile, file.putVoid());
  if (FAILED(hr)) return hr;
  return file->Save(wide(linkPath).c_str(), TRUE);
}

std::optional<ShortcutLink> readShortcut(const std::string& linkPath) {
  ComScope com;
  ComRef<IShellLinkA> link = newShellLink();
  ComRef<IPersistFile> file;
  if (!link || FAILED(link->QueryInterface(IID_IPersistFile, file.putVoid())) ||
      FAILED(file->Load(wide(linkPath).c_str(), STGM_READ)))
    return std::nullopt;
  ShortcutLink out;
  char text[MAX_PATH * 2] = {};
  // SLGP_RAWPATH: the path as stored, not resolved against the disk.
  if (SUCCEEDED(link->GetPath(text, sizeof(text), nullptr, SLGP_RAWPATH))) out.target = text;
  text[0] = 0;
  if (SUCCEEDED(link->GetArguments(text, sizeof(text)))) out.arguments = text;
  text[0] = 0;
  if (SUCCEEDED(link->GetWorkingDirectory(text, sizeof(text)))) out.workingDir = text;
  text[0] = 0;
  if (SUCCEEDED(link->GetDescription(text, sizeof(text)))) out.description = text;
  text[0] = 0;
  int index = 0;
  if (SUCCEEDED(link->GetIconLocation(text, sizeof(text), &index))) out.iconFile = text, out.iconIndex = index;
  return out;
}

std::string shortcutFolder(ShortcutPlace place) {
  int csidl = CSIDL_DESKTOPDIRECTORY;
  if (place == ShortcutPlace::startMenu) csidl = CSIDL_STARTMENU;
  if (place == ShortcutPlace::programsGroup) csidl = CSIDL_PROGRAMS;
  if (place == ShortcutPlace::quickLaunch) csidl = CSIDL_APPDATA;
  char path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  std::string folder = path;
  if (place == ShortcutPlace::quickLaunch) folder += "\\Microsoft\\Internet Explorer\\Quick Launch";
  return folder;
}

std::vector<PlannedShortcut> plannedShortcuts(ShortcutPlace place, const std::string& folder,
                                              const std::string& playerExe) {
  const std::string launcher = launcherOf(playerExe);
  const std::string root = folderOfPath(launcher);
  std::vector<PlannedShortcut> links;
  const std::string into = place == ShortcutPlace::programsGroup ? folder + "\\Zorvak" : folder;
  links.push_back({into + "\\Zorvak.lnk", {launcher, "", root, playerExe, "Zorvak audio player", 0}});
  const std::string readme = root + "\\doc\\en\\readme.html";
  if (place == ShortcutPlace::programsGroup && fileExists(readme))
    links.push_back({into + "\\Read me.lnk", {readme, "", root + "\\doc\\en", "", "Zorvak read me", 0}});
  return links;
}

HRESULT addProgramShortcuts(ShortcutPlace place, const std::string& playerExe,
                            const std::function<std::string(ShortcutPlace)>& folderOf) {
  const std::string folder = folderOf(place);
  if (folder.empty()) return E_FAIL;
  for (const PlannedShortcut& s : plannedShortcuts(place, folder, playerExe)) {
    // The Quick Launch folder and the group may not exist yet.
    const int made = SHCreateDirectoryExA(nullptr, folderOfPath(s.path).c_str(), nullptr);
    if (made != ERROR_SUCCESS && made != ERROR_ALREADY_EXISTS && made != ERROR_FILE_EXISTS)
      return HRESULT_FROM_WIN32(made);
    const HRESULT hr = writeShortcut(s.path, s.link);
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

}  // namespace zv
