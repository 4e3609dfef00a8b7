// TSetupWnd, the settings window ("setup"): five pages of the keys the
// settings unit lists (settings/setup_keys.h) and the file-types page (the
// shell registrations of startup/shell_assoc.h). "OK" writes every key,
// the registrations and "userExt", then has the main window apply the
// settings; closing otherwise keeps everything as it was. "Advanced..."
// opens TAdvSetupWnd.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frame_window.h"
#include "settings/language_list.h"
#include "settings/setup_keys.h"
#include "setup/adv_setup_window.h"
#include "setup/form_pages.h"
#include "setup/plugins_page.h"
#include "setup/window_texts.h"
#include "startup/program_shortcuts.h"
#include "startup/shell_assoc.h"

namespace zv {

struct SetupContext {
  std::string root;        // the program's root folder (skins, lang)
  std::string langDir;     // the language folder (empty: <root>\lang)
  std::string language;    // empty: the setting "Lang"
  std::string playerExe;   // the player program: its launcher and icons
  ShellRoots shell;        // where the registrations go
  // The program's texts ("messages.dat"); by default the texts' defaults.
  std::function<std::string(const char*)> translate;
  // The main window applies the settings after "OK".
  std::function<void()> applied;
  // Questions and messages (tests answer them).
  std::function<std::optional<std::string>(const std::string& title, const std::string& prompt)> ask;
  std::function<void(const std::string&)> message;
  std::function<void()> notifyShell;
  // Decoder libraries and input kinds with their extensions.
  std::function<std::vector<ExtensionSource>()> decoders, inputKinds;
  // The plug-ins page's list (the engine's by default) and the folders the
  // icon commands write into (the user's shell folders by default).
  std::function<std::vector<PluginEntry>()> plugins;
  std::function<std::string(ShortcutPlace)> shortcutFolder;
};

class TSetupWnd : public ui::TFrameWnd {
 public:
  enum Page { general, tray, menus, folders, fileTypes, plugins, pageCount };
  explicit TSetupWnd(SetupContext context);
  ~TSetupWnd() override;

  bool open(HWND owner);
  void showPage(int page);
  // "OK": writes and applies everything, then closes.
  void confirm();

  // For tests: the control of a key (a check box or slider element, or a
  // combo box or edit), the auto-open list and the extension tree.
  ui::UiElement* keyElement(const std::string& key) const;
  HWND keyWindow(const std::string& key) const;
  HWND autoOpenList() const { return autoOpen_; }
  HWND extensionTree() const { return tree_; }
  void addAutoOpen();
  void removeAutoOpen();
  void addExtension();
  void removeExtension();
  // Checks an extension of the tree (false when it is not there).
  bool setExtensionChecked(const std::string& ext, bool on);
  bool extensionChecked(const std::string& ext) const;
  // A click on the box of a tree item (a group's or an extension's).
  void clickBox(const std::string& text);
  TAdvSetupWnd* advancedWindow() const { return advanced_.get(); }
  setupui::PluginsPage& pluginsPage() { return *plugins_; }
  // An icon command ("idesk", "istart", "iprg", "iql"): its shortcuts, or
  // a message when they cannot be made.
  HRESULT runIconCommand(const std::string& command);
  void openAdvanced();

 protected:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static constexpr UINT kBoxClicked = WM_APP + 20;
  struct TreeExt {
    HTREEITEM item;
    std::string ext;
  };
  void buildGeneral(RECT area);
  void buildTray(RECT area);
  void buildMenus(RECT area);
  void buildFolders(RECT area);
  void buildFileTypes(RECT area);
  void iconMenu();
  void fillTree();
  HTREEITEM parentOf(HTREEITEM item) const;
  void syncGroupBox(HTREEITEM group);
  void boxesChanged();
  void rememberBoxes();
  void readValues();
  SetupValues collectValues() const;
  void writeRegistrations();
  ui::UiElement& label(RECT r, const std::string& name, const std::string& text);
  ui::TZCheck& check(RECT r, const char* key, const char* caption);
  HWND keyCombo(RECT r, const char* key, const std::vector<std::string>& entries, bool editable = false);
  std::string t(const char* localised) const { return context_.translate(localised); }

  SetupContext context_;
  std::unique_ptr<setupui::WindowTexts> texts_;
  setupui::FormPages pages_;
  setupui::PageRow pageRow_;
  std::map<std::string, ui::UiElement*> elements_;
  std::map<std::string, HWND> windows_;
  std::vector<LanguageEntry> languages_;
  HWND autoOpen_ = nullptr, tree_ = nullptr;
  HTREEITEM userGroup_ = nullptr;
  std::vector<TreeExt> treeExts_;
  std::vector<HTREEITEM> groups_;
  std::map<HTREEITEM, bool> seen_;  // the groups' boxes as last seen
  ui::TZCheck *folders_ = nullptr, *audioCd_ = nullptr, *lyrInDb_ = nullptr, *lyrBeside_ = nullptr;
  std::unique_ptr<TAdvSetupWnd> advanced_;
  std::unique_ptr<setupui::PluginsPage> plugins_;
};

}  // namespace zv
