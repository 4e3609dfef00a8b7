// "/unreg" against the real registry, under a private key that stands for
// the classes root and the local machine.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <string>

#include "startup/shell_unreg.h"
#include "win32/owners.h"

using namespace zv;

namespace {

struct ShellUnreg : ::testing::Test {
  std::string base = "Software\\ZorvakTest\\unreg" + std::to_string(GetCurrentProcessId());
  UniqueRegKey classes, machine;

  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (base + "\\Classes").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              classes.put(), nullptr), ERROR_SUCCESS);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (base + "\\Machine").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              machine.put(), nullptr), ERROR_SUCCESS);
  }
  void TearDown() override {
    classes.reset();
    machine.reset();
    RegDeleteTreeA(HKEY_CURRENT_USER, base.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, base.c_str());
  }
  void put(HKEY root, const std::string& key, const char* name, const std::string& value) {
    UniqueRegKey k;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.put(), nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
  }
  std::optional<std::string> get(HKEY root, const std::string& key, const char* name = nullptr) {
    char buffer[512];
    DWORD size = sizeof(buffer);
    if (RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
      return std::nullopt;
    return std::string(buffer);
  }
  bool exists(HKEY root, const std::string& key) {
    UniqueRegKey k;
    return RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, k.put()) == ERROR_SUCCESS;
  }
  int run() {
    int notified = 0;
    removeShellRegistrations(ShellRoots{classes.get(), machine.get()}, [&] { ++notified; });
    return notified;
  }
};

TEST_F(ShellUnreg, removesOurKeysAndRestoresSavedDefaults) {
  HKEY c = classes.get();
  put(c, "Zorvak file\\shell\\open\\command", nullptr, "zorvak.exe \"%1\"");
  put(c, "Zorvak playlist", nullptr, "Zorvak playlist");
  put(c, "Zorvak CDA track", nullptr, "x");
  put(c, "Directory\\shell\\zvplay\\command", nullptr, "x");
  put(c, "Directory\\shell\\other", nullptr, "keep");
  put(c, "Drive\\shell\\zvenqueue", nullptr, "x");
  put(c, ".mp3", nullptr, "Zorvak file");
  put(c, ".mp3", "orgdef", "OtherPlayer.mp3");
  put(c, ".mp3\\OpenWithList\\zorvak.exe", nullptr, "");
  put(c, ".mp3\\OpenWithList\\other.exe", nullptr, "");
  put(c, ".m3u", nullptr, "Zorvak playlist");  // ours, nothing saved: stays
  put(c, ".ogg", nullptr, "SomeoneElse.ogg");  // taken over since: stays
  put(c, ".ogg", "orgdef", "Old.ogg");
  put(c, "mp3file", nullptr, "not an extension");
  put(machine.get(), "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zorvak.exe", nullptr, "C:\\z.exe");
  put(machine.get(), "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\other.exe", nullptr, "C:\\o.exe");

  EXPECT_EQ(run(), 1) << "one change notification";
  for (const char* gone : {"Zorvak file", "Zorvak playlist", "Zorvak CDA track", "Directory\\shell\\zvplay",
                           "Drive\\shell\\zvenqueue", ".mp3\\OpenWithList\\zorvak.exe"})
    EXPECT_FALSE(exists(c, gone)) << gone;
  EXPECT_TRUE(exists(c, "Directory\\shell\\other"));
  EXPECT_TRUE(exists(c, ".mp3\\OpenWithList\\other.exe"));
  EXPECT_EQ(get(c, ".mp3"), "OtherPlayer.mp3");
  EXPECT_EQ(get(c, ".m3u"), std::nullopt) << "ours with nothing kept: our value goes";
  EXPECT_EQ(get(c, ".mp3", "orgdef"), std::nullopt);
  EXPECT_EQ(get(c, ".ogg", "orgdef"), std::nullopt);
  EXPECT_EQ(get(c, ".ogg"), "SomeoneElse.ogg");
  EXPECT_FALSE(exists(machine.get(), "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\zorvak.exe"));
  EXPECT_TRUE(exists(machine.get(), "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\other.exe"));
}

TEST_F(ShellUnreg, audioCdVerbComesBackOnlyWhileItIsStillOurs) {
  const std::string verb = "AudioCD\\shell\\play\\command";
  put(classes.get(), verb, nullptr, "\"C:\\Zorvak\\ZORVAK.EXE\" /enqueue \"%1\"");
  put(classes.get(), verb, "orgdef", "cdplayer.exe %1");
  run();
  EXPECT_EQ(get(classes.get(), verb), "cdplayer.exe %1");

  put(classes.get(), verb, nullptr, "otherplayer.exe %1");  // another player took it over
  run();
  EXPECT_EQ(get(classes.get(), verb), "otherplayer.exe %1");
}

TEST_F(ShellUnreg, anEmptyRootIsLeftAsItWas) {
  EXPECT_EQ(run(), 1);
  EXPECT_TRUE(exists(HKEY_CURRENT_USER, base + "\\Classes"));
}

}  // namespace
