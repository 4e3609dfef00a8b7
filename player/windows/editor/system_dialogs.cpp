// The editors' dialogs as the system shows them.
#include <windows.h>
#include <commdlg.h>

#include <cstring>

#include "editor_host.h"
#include "save_options_dialog.h"
#include "zv_config.h"

namespace zv::editor {
namespace {

// "a|b|c|d" -> "a\0b\0c\0d\0\0".
std::string filterOf(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c == '|') c = '\0';
  out.push_back('\0');
  out.push_back('\0');
  return out;
}

class SystemDialogs final : public EditorDialogs {
 public:
  std::vector<std::string> openFiles(HWND owner, const std::string& filter) override {
    const std::string f = filterOf(filter);
    std::string buffer(32768, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = f.c_str();
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn)) return {};
    // One file: its path; several: the folder, then each name.
    std::vector<std::string> parts;
    for (const char* p = buffer.c_str(); *p; p += std::strlen(p) + 1) parts.emplace_back(p);
    if (parts.size() <= 1) return parts;
    std::vector<std::string> files;
    for (size_t i = 1; i < parts.size(); ++i) files.push_back(parts[0] + "\\" + parts[i]);
    return files;
  }

  std::optional<std::string> openPlaylist(HWND owner, const std::string& filter) override {
    const std::string f = filterOf(filter);
    char path[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = f.c_str();
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameA(&ofn)) return std::nullopt;
    return std::string(path);
  }

  std::optional<std::string> saveFile(HWND owner, const std::string& filter, const char* extension) override {
    const std::string f = filterOf(filter);
    char path[MAX_PATH] = {};
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = f.c_str();
    ofn.lpstrFile = path;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrDefExt = extension;
    ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (!GetSaveFileNameA(&ofn)) return std::nullopt;
    return std::string(path);
  }

  std::optional<std::string> saveFileWithOptions(HWND owner, const std::string& filter, const char* extension,
                                                 SaveOptions& options, const std::vector<std::string>& texts) override {
    return runSaveOptionsDialog(owner, filter, extension, options, texts);
  }

  std::optional<std::string> chooseFolder(HWND owner, const std::string& title) override {
    char path[MAX_PATH] = {};
    if (!selectFolder(owner, title.c_str(), path) || !path[0]) return std::nullopt;
    return std::string(path);
  }

  int ask(HWND owner, const std::string& text, UINT flags) override {
    return MessageBoxA(owner, text.c_str(), "Zorvak", flags);
  }
};

}  // namespace

EditorDialogs& systemEditorDialogs() {
  static SystemDialogs dialogs;
  return dialogs;
}

}  // namespace zv::editor
