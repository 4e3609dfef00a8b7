#include "help_pages.h"

#include <windows.h>
#include <shellapi.h>

#include "help_request.h"
#include "main_window.h"
#include "menus/doc_lookup.h"

namespace zv {

void installHelpPages(TMainWnd& main) {
  setHelpHandler([&main](HWND owner, const std::string& page) {
    if (auto path = findDocument(main.dirs().root, main.language(), page)) {
      ShellExecuteA(owner, "open", path->c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    } else {
      MessageBoxA(owner, missingDocumentMessage(page).c_str(), "Zorvak", MB_ICONWARNING);
    }
  });
}

}  // namespace zv
