#include "ui_fixture.h"

#include "testkit.h"
#include "win32/owners.h"

namespace uitest {

zv::ui::PixelImage solidImage(int width, int height, uint32_t rgb) {
  zv::ui::PixelImage image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<size_t>(width) * height, rgb);
  return image;
}

void paintRect(zv::ui::PixelImage& image, int x, int y, int w, int h, uint32_t rgb) {
  for (int yy = y; yy < y + h && yy < image.height; ++yy)
    for (int xx = x; xx < x + w && xx < image.width; ++xx)
      if (xx >= 0 && yy >= 0) image.pixels[static_cast<size_t>(yy) * image.width + xx] = rgb;
}

bool writeBmp(const std::string& path, const zv::ui::PixelImage& image) {
  std::vector<uint8_t> bytes = zv::ui::encodeBitmap(image);
  return zvtest::writeFile(path, bytes.data(), bytes.size());
}

bool writeText(const std::string& path, const std::string& text) { return zvtest::writeFile(path, text.data(), text.size()); }

void click(HWND window, int x, int y, WPARAM keys) {
  SendMessageA(window, WM_MOUSEMOVE, keys, at(x, y));
  SendMessageA(window, WM_LBUTTONDOWN, keys | MK_LBUTTON, at(x, y));
  SendMessageA(window, WM_LBUTTONUP, keys, at(x, y));
}

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace uitest

namespace {

// On a bare X display Wine waits about 2 s for a window manager at every
// window's creation and destruction; these tests make hundreds of windows.
// Wine reads per-program settings ("Software\Wine\AppDefaults\<file>\X11
// Driver", value "Managed" = "N": Wine places the windows itself) when the
// program starts, so the first start writes them for this program alone and
// runs itself again. Outside Wine nothing happens.
struct UnmanagedWindowsUnderWine {
  UnmanagedWindowsUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll || !GetProcAddress(ntdll, "wine_get_version")) return;
    char exe[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    std::string file(exe, n);
    file = file.substr(file.find_last_of('\\') + 1);
    const std::string key = "Software\\Wine\\AppDefaults\\" + file + "\\X11 Driver";
    char value[8] = {};
    DWORD size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), "Managed", RRF_RT_REG_SZ, nullptr, value, &size) == ERROR_SUCCESS &&
        (value[0] == 'N' || value[0] == 'n'))
      return;
    if (GetEnvironmentVariableA("ZV_UI_RESTARTED", value, sizeof(value))) return;
    HKEY h = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
      return;
    zv::UniqueRegKey owner(h);
    if (RegSetValueExA(h, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2) != ERROR_SUCCESS) return;
    SetEnvironmentVariableA("ZV_UI_RESTARTED", "1");
    STARTUPINFOA si{sizeof(si)};
    PROCESS_INFORMATION pi{};
    std::string commandLine = GetCommandLineA();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) return;
    zv::UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.get(), &code);
    ExitProcess(code);
  }
} g_unmanagedWindows;

}  // namespace
