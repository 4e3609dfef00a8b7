// zorvak.exe: the program entry. "/unreg" as the whole first argument removes
// the shell registrations and ends with 0; a second copy ends with 255 at once
// and hands nothing over (items reach a running copy only through the
// hand-over messages, which the launcher sends); otherwise the main window runs
// the start steps and the message loop, whose code ends the program (255 when
// the skin cannot be loaded).
#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <typeinfo>

#include "diagnostic_line.h"
#include "main_window.h"
#include "skinned_window.h"
#include "startup/app_errors.h"
#include "startup/cmd_switches.h"
#include "pl_editor_wnd.h"
#include "startup/program_dirs.h"
#include "startup/shell_unreg.h"
#include "startup/single_instance.h"

namespace {

using zv::writeDiagnosticLine;

// The one line for an exception that a window's handler let escape; the
// program goes on.
void writeAppExceptionLine(const char* className, const char* what) {
  writeDiagnosticLine(zv::appExceptionLine(className ? className : "", what ? what : ""));
}

void showAppError(zv::AppErrorPlace place, const std::exception& e) {
  MessageBoxA(nullptr, zv::appErrorText(place, typeid(e).name(), e.what()).c_str(), zv::kAppErrorTitle,
              MB_ICONERROR | MB_OK);
}

int runMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (zv::ui::TSkinnedWnd::translateUiMessage(msg)) continue;
    if (zv::editor::TPLEditorWnd::translateEditorMessage(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::vector<std::string> args = zv::processArguments();
  if (zv::isUnregRun(args)) {
    zv::removeShellRegistrations(zv::ShellRoots{},
                                 [] { SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr); });
    return 0;
  }
  zv::CmdSwitches switches(args);
  for (const std::string& refused : switches.refused())
    writeDiagnosticLine("Item longer than a path refused: " + refused.substr(0, 64) + "...");

  // Kept until the process ends.
  std::optional<zv::UniqueKernelHandle> instance = zv::claimSingleInstance();
  if (!instance) return zv::kSecondCopyExitCode;

  zv::ProgramDirs dirs = zv::currentProgramDirs();
  zv::createHiddenFolder(dirs.data);
  zv::createHiddenFolder(dirs.userData);
  zv::setWindowExceptionHook(writeAppExceptionLine);

  std::unique_ptr<zv::TMainWnd> window;
  try {
    window = std::make_unique<zv::TMainWnd>(std::move(switches), dirs);
    if (!window->start()) return window->exitCode() ? window->exitCode() : zv::kSecondCopyExitCode;
  } catch (const std::exception& e) {
    showAppError(zv::AppErrorPlace::createForm, e);
    return zv::kSecondCopyExitCode;
  }
  try {
    return runMessageLoop();
  } catch (const std::exception& e) {
    showAppError(zv::AppErrorPlace::run, e);
    return zv::kSecondCopyExitCode;
  }
}
