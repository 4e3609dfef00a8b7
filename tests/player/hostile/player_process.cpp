#include "player_process.h"

#include <algorithm>

#include "startup/hand_over.h"
#include "testkit.h"

namespace htest {

PlayerProcess::PlayerProcess(const std::string& root, const std::string& diagnostics) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  zv::UniqueFile err(CreateFileA(diagnostics.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!err) return;
  std::string command = "\"" + root + "\\bin\\zorvak.exe\"";
  STARTUPINFOA si{sizeof(si)};
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = nullptr;
  si.hStdOutput = err.get();
  si.hStdError = err.get();
  PROCESS_INFORMATION pi{};
  std::vector<char> line(command.begin(), command.end());
  line.push_back(0);
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, (root + "\\bin").c_str(), &si, &pi))
    return;
  process_.reset(pi.hProcess);
  zv::UniqueKernelHandle thread(pi.hThread);
  id_ = pi.dwProcessId;
}

PlayerProcess::~PlayerProcess() {
  if (alive()) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
  }
}

bool PlayerProcess::alive() const { return process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

int PlayerProcess::waitExit(int ms) {
  if (!process_ || WaitForSingleObject(process_.get(), ms) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return static_cast<int>(code);
}

HWND PlayerProcess::waitMainWindow(int ms) {
  zvtest::waitFor([&] {
    window_ = nullptr;
    for (HWND w = FindWindowA(zv::kMainWindowClass, nullptr); w && !window_;
         w = FindWindowExA(nullptr, w, zv::kMainWindowClass, nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(w, &owner);
      if (owner == id_ && IsWindowVisible(w)) window_ = w;
    }
    return window_ != nullptr || !alive();
  }, ms);
  return window_;
}

bool PlayerProcess::send(ULONG_PTR dataWord, const std::string& bytes, int ms) {
  COPYDATASTRUCT cds{};
  cds.dwData = dataWord;
  cds.cbData = static_cast<DWORD>(bytes.size());
  cds.lpData = bytes.empty() ? nullptr : const_cast<char*>(bytes.data());
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds), SMTO_NORMAL, ms, &result) != 0;
}

namespace {

// The message boxes (dialog class) that belong to process `pid`.
std::vector<HWND> boxesOf(DWORD pid) {
  std::vector<HWND> found;
  for (HWND w = FindWindowA("#32770", nullptr); w; w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == pid && IsWindowVisible(w)) found.push_back(w);
  }
  return found;
}

std::string boxText(HWND box) {
  char caption[256] = {}, text[1024] = {};
  GetWindowTextA(box, caption, sizeof(caption));
  GetDlgItemTextA(box, 0xFFFF, text, sizeof(text));  // a message box's static text
  return std::string(caption) + ": " + text;
}

}  // namespace

bool PlayerProcess::settle(int ms) {
  const DWORD start = GetTickCount();
  auto left = [&] { return static_cast<int>(ms - static_cast<int>(GetTickCount() - start)); };
  while (left() > 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, static_cast<UINT>(left()), &result)) return false;
    const std::vector<HWND> boxes = boxesOf(id_);
    if (boxes.empty()) return true;
    for (HWND box : boxes) {
      boxes_.push_back(boxText(box));
      PostMessageA(box, WM_COMMAND, IDOK, 0);
      PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
      zvtest::waitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); }, std::max(left(), 1));
    }
  }
  return false;
}

bool openItems(PlayerProcess& player, const std::vector<std::string>& items, int ms) {
  for (const zv::HandOverBlock& block : zv::handOverForItems(items, 0))
    if (!player.send(block.dataWord, block.bytes, ms)) return false;
  return true;
}

bool runCommand(PlayerProcess& player, const std::string& command, int ms) {
  const zv::HandOverBlock block = zv::encodeHandOver(zv::handOverCommand, 0, command);
  return player.send(block.dataWord, block.bytes, ms);
}

}  // namespace htest
