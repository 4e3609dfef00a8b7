// The toolkit's costs: loading each skin under <root>\skins (against only
// reading its files), a full repaint of a skinned main window (against one
// copy of a picture of the window's size) and the repaint after one
// control's state change (which redraws only that control's rectangle).
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "benchkit.h"
#include "skin_loader.h"
#include "skinned_window.h"

using namespace zv::ui;

namespace {

std::vector<std::string> skinNames(const std::string& root) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA fd;
  zv::UniqueFind find(FindFirstFileA((root + "\\skins\\*").c_str(), &fd));
  if (!find) return names;
  do {
    std::string name = fd.cFileName;
    if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name[0] != '.' &&
        fileExists(root + "\\skins\\" + name + "\\main.skn"))
      names.push_back(name);
  } while (FindNextFileA(find.get(), &fd));
  return names;
}

// A stand-in main skin when none is installed: 440 x 144 with 20 buttons.
std::unique_ptr<TSkin> syntheticSkin(const std::string& dir) {
  std::string text;
  for (int i = 0; i < 20; ++i)
    text += "name=b" + std::to_string(i) + "\naction=b" + std::to_string(i) + "\nshape=" + std::to_string(10 + 21 * i) +
            " 110 20 20\n.\n";
  text += "..\ndefsize=440 144\nhilite=0 144\ndown=0 288\n";
  PixelImage img;
  img.width = 440;
  img.height = 432;
  for (int i = 0; i < img.width * img.height; ++i) img.pixels.push_back(static_cast<uint32_t>(i * 2654435761u) & 0x7f7f7f);
  std::vector<uint8_t> bmp = encodeBitmap(img);
  zv::UniqueFile f(CreateFileA((dir + "\\synthetic.bmp").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD put = 0;
  WriteFile(f.get(), bmp.data(), static_cast<DWORD>(bmp.size()), &put, nullptr);
  f.reset(CreateFileA((dir + "\\synthetic.skn").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  WriteFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
  f.reset();
  return loadSkin(dir + "\\synthetic.skn", dir + "\\synthetic.bmp").skin;
}

void repaintFigures(const std::string& label, const TSkin& skin) {
  TSkinnedWnd window;
  if (!window.createSkinned("bench", &skin)) {
    std::printf("%s: no window (no display)\n", label.c_str());
    return;
  }
  UpdateWindow(window.hwnd());
  SIZE size = window.clientSize();
  const double full = zvbench::secondsPerItem([&](int64_t n) {
    for (int64_t i = 0; i < n; ++i) {
      InvalidateRect(window.hwnd(), nullptr, FALSE);
      UpdateWindow(window.hwnd());
    }
  });
  // Baseline: the same window and picture without any control, so only the
  // background is copied.
  auto bare = parseSkin({}, {skin.bitmap.width(), skin.bitmap.height()});
  bare->defSize = skin.defSize;
  bare->bitmap = SkinBitmap(skin.bitmap.image());
  TSkinnedWnd plain;
  double copy = 0;
  if (plain.createSkinned("baseline", bare.get())) {
    UpdateWindow(plain.hwnd());
    copy = zvbench::secondsPerItem([&](int64_t n) {
      for (int64_t i = 0; i < n; ++i) {
        InvalidateRect(plain.hwnd(), nullptr, FALSE);
        UpdateWindow(plain.hwnd());
      }
    });
  }
  zvbench::report(label + ": full repaint", full * 1e3, "ms");
  zvbench::report(label + ": repaint without controls (baseline)", copy * 1e3, "ms");
  if (copy > 0) zvbench::report(label + ": full repaint / baseline", full / copy, "x");

  // One button's hilite on and off: each change repaints its rectangle only.
  int button = -1;
  for (size_t i = 0; i < skin.controls.size() && button < 0; ++i)
    if (skin.controls[i].isButton() && skin.controls[i].bounds(size.cx, size.cy).right >
                                           skin.controls[i].bounds(size.cx, size.cy).left)
      button = static_cast<int>(i);
  if (button < 0) return;
  RECT r = skin.controls[button].bounds(size.cx, size.cy);
  const int before = window.controlRedraws();
  const double change = zvbench::secondsPerItem([&](int64_t n) {
    for (int64_t i = 0; i < n; ++i) {
      window.setControlHilite(button, (i & 1) == 0);
      UpdateWindow(window.hwnd());
    }
  });
  const int redraws = window.controlRedraws() - before;
  zvbench::report(label + ": one control's state change", change * 1e3, "ms");
  zvbench::report(label + ": state change / full repaint", change / full, "x");
  zvbench::report(label + ": area redrawn per change", 100.0 * (r.right - r.left) * (r.bottom - r.top) / (size.cx * size.cy),
                  "% of the window");
  zvbench::report(label + ": controls redrawn per change", redraws > 0 ? 1.0 : 0.0, "");
}

}  // namespace

int main() {
  const std::string root = uiRootDir();
  std::vector<std::string> names = skinNames(root);
  if (names.empty()) std::printf("no skins under %s\\skins: a synthetic skin stands in\n", root.c_str());
  for (const std::string& name : names) {
    const double load = zvbench::secondsPerItem([&](int64_t n) {
      for (int64_t i = 0; i < n; ++i) loadMainSkins(root, name, MainSkinPurpose::change);
    });
    const double read = zvbench::secondsPerItem([&](int64_t n) {
      std::string bytes;
      for (int64_t i = 0; i < n; ++i)
        for (const char* f : {"\\main.skn", "\\main.bmp", "\\mini\\main.skn", "\\mini\\main.bmp"})
          readWholeFile(root + "\\skins\\" + name + f, bytes, 64u << 20);
    });
    zvbench::report("skin " + name + ": load (full and mini)", load * 1e3, "ms");
    zvbench::report("skin " + name + ": read its files (baseline)", read * 1e3, "ms");
    zvbench::report("skin " + name + ": load / read", load / read, "x");
  }
  if (!names.empty()) {
    MainSkinResult skins = loadMainSkins(root, names[0] == "default" ? "default" : names[0], MainSkinPurpose::change);
    for (const std::string& name : names)
      if (name == "default") skins = loadMainSkins(root, name, MainSkinPurpose::change);
    if (skins.ok()) repaintFigures("main window " + skins.skins.name, *skins.skins.full);
  } else {
    auto skin = syntheticSkin(zvbench::workDir());
    if (skin) repaintFigures("synthetic main window", *skin);
  }
  return 0;
}
