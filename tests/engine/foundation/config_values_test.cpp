// Plain values of the configuration store through the exports, in both
// backings, against what is really stored in the registry and config.dat.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "store_fixture.h"
#include "testkit.h"
#include "zv_config.h"
#include "win32/owners.h"

namespace {

enum class Backing { Registry, File };

struct StoreCase {
  Backing backing;
  std::string section;
};

// Fresh section in the chosen backing, store switched to it.
std::string useSection(Backing backing, const std::string& name) {
  std::string section = "zvtest_fnd_" + name + (backing == Backing::File ? "_file" : "_reg");
  fnd::deleteSection(section);
  fnd::iniDeleteSection(section);
  EXPECT_EQ(setConfigMode(section.c_str(), backing == Backing::File ? -1 : 0), backing == Backing::File ? 1 : 0);
  return section;
}

void storeRaw(Backing backing, const std::string& section, const std::string& name, const std::string& text) {
  if (backing == Backing::File)
    fnd::iniWrite(section, name, text);
  else
    fnd::regWriteString(section, name, text);
}

std::string storedText(Backing backing, const std::string& section, const std::string& name) {
  if (backing == Backing::File) return fnd::iniRead(section, name);
  DWORD type = 0;
  std::vector<char> data;
  if (!fnd::regRead(section, name, type, data)) return "\x01missing";
  if (type != REG_SZ) return "\x01wrongtype";
  return std::string(data.data());
}

const Backing kBackings[] = {Backing::Registry, Backing::File};
const char* label(Backing b) { return b == Backing::File ? "file" : "registry"; }

}  // namespace

TEST(ConfigValues, integerReadRules) {
  struct Row {
    const char* stored;  // null: no value
    int32_t def;
    int32_t expected;
  };
  const Row rows[] = {
      {"0x10", 5, 16},          {"0X1f", 5, 31},          {"0xFFFFFFFF", 5, -1},     {"0x00000010", 5, 16},
      {"0x100000000", 5, 5},    {"0x", 5, 5},             {"0x1g", 5, 5},            {"12abc", 5, 5},
      {"abc", -3, -3},          {"", 5, 5},               {nullptr, 77, 77},         {"42", 5, 42},
      {"-7", 5, -7},            {"+8", 5, 8},             {"-", 5, 5},               {"2147483647", 5, 2147483647},
      {"2147483648", 5, 5},     {"-2147483648", 5, INT32_MIN}, {"99999999999", 5, 5}, {"1.5", 5, 5},
  };
  for (Backing b : kBackings) {
    std::string section = useSection(b, "int");
    int i = 0;
    for (const Row& r : rows) {
      std::string name = "v" + std::to_string(i++);
      if (r.stored) storeRaw(b, section, name, r.stored);
      EXPECT_EQ(configInt(name.c_str(), r.def), r.expected)
          << label(b) << " stored \"" << (r.stored ? r.stored : "(none)") << "\"";
    }
  }
}

TEST(ConfigValues, booleanReadRules) {
  struct Row {
    const char* stored;
    ZvBool def;
    ZvBool expected;
  };
  const Row rows[] = {
      {"2", 0, -1}, {"0", -1, 0}, {"1", 0, -1}, {"-1", 0, -1}, {"0x0", -1, 0},
      {nullptr, 5, -1}, {nullptr, -1, -1}, {nullptr, 0, 0}, {"yes", 0, 0}, {"yes", 3, -1},
  };
  for (Backing b : kBackings) {
    std::string section = useSection(b, "bool");
    int i = 0;
    for (const Row& r : rows) {
      std::string name = "b" + std::to_string(i++);
      if (r.stored) storeRaw(b, section, name, r.stored);
      EXPECT_EQ(configBool(name.c_str(), r.def), r.expected)
          << label(b) << " stored \"" << (r.stored ? r.stored : "(none)") << "\" default " << r.def;
    }
  }
}

TEST(ConfigValues, writesStoreDecimalTextAndZeroOne) {
  for (Backing b : kBackings) {
    std::string section = useSection(b, "write");
    setConfigInt("n", -12);
    setConfigInt("big", INT32_MIN);
    setConfigBool("t", -1);
    setConfigBool("seven", 7);
    setConfigBool("f", 0);
    setConfigString("s", "a b=c");
    EXPECT_EQ(storedText(b, section, "n"), "-12") << label(b);
    EXPECT_EQ(storedText(b, section, "big"), "-2147483648") << label(b);
    EXPECT_EQ(storedText(b, section, "t"), "1") << label(b);
    EXPECT_EQ(storedText(b, section, "seven"), "1") << label(b);
    EXPECT_EQ(storedText(b, section, "f"), "0") << label(b);
    EXPECT_EQ(storedText(b, section, "s"), "a b=c") << label(b);
    EXPECT_EQ(configInt("n", 0), -12) << label(b);
    EXPECT_EQ(configBool("t", 0), -1) << label(b);
    EXPECT_EQ(configBool("f", -1), 0) << label(b);
  }
}

// The file backing writes config.dat whole through a temporary file: the
// other sections stay, a value cannot add lines of its own, and no
// temporary file is left behind.
TEST(ConfigValues, fileBackingRewritesTheFileWhole) {
  std::string section = useSection(Backing::File, "whole");
  fnd::iniWrite("zvtest_fnd_whole_other", "kept", "yes");
  setConfigString("s", "line one\r\ninjected=1");
  setConfigInt("n", 5);
  EXPECT_EQ(fnd::iniRead(section, "s"), "line one");
  EXPECT_EQ(fnd::iniRead(section, "injected"), "\x01missing");
  EXPECT_EQ(fnd::iniRead(section, "n"), "5");
  EXPECT_EQ(fnd::iniRead("zvtest_fnd_whole_other", "kept"), "yes");
  char text[64] = {};
  configString("s", text, "");
  EXPECT_STREQ(text, "line one");
  for (const std::string& name : fnd::listDir(fnd::userDir()))
    EXPECT_EQ(name.find("config.dat."), std::string::npos) << "left behind: " << name;
  fnd::iniDeleteSection("zvtest_fnd_whole_other");
}

TEST(ConfigValues, stringReadsValueOrDefault) {
  for (Backing b : kBackings) {
    std::string section = useSection(b, "str");
    char buffer[260];
    configString("missing", buffer, "fallback");
    EXPECT_STREQ(buffer, "fallback") << label(b);
    configString("missing", buffer, nullptr);
    EXPECT_STREQ(buffer, "") << label(b);
    // A value stored empty is a value, not a missing one.
    storeRaw(b, section, "empty", "");
    configString("empty", buffer, "fallback");
    EXPECT_STREQ(buffer, "") << label(b);
    // The buffer may be its own default.
    std::strcpy(buffer, "kept");
    configString("missing", buffer, buffer);
    EXPECT_STREQ(buffer, "kept") << label(b);
    setConfigString("word", "Zorvak \xe4\xf6");
    configString("word", buffer, "fallback");
    EXPECT_STREQ(buffer, "Zorvak \xe4\xf6") << label(b);
  }
}

TEST(ConfigValues, longStringIsCutAtTheCallersBuffer) {
  for (Backing b : kBackings) {
    std::string section = useSection(b, "long");
    std::string value(700, 'x');
    for (size_t i = 0; i < value.size(); ++i) value[i] = static_cast<char>('a' + i % 26);
    setConfigString("long", value.c_str());
    // The caller's 260 bytes, then a guard that must stay untouched.
    char buffer[260 + 64];
    std::memset(buffer, '#', sizeof(buffer));
    configString("long", buffer, "");
    EXPECT_EQ(std::strlen(buffer), 259u) << label(b);
    EXPECT_EQ(std::string(buffer), value.substr(0, 259)) << label(b);
    for (size_t i = 260; i < sizeof(buffer); ++i) ASSERT_EQ(buffer[i], '#') << label(b) << " byte " << i;
    // A long default is bounded the same way.
    std::memset(buffer, '#', sizeof(buffer));
    configString("missing", buffer, value.c_str());
    EXPECT_EQ(std::strlen(buffer), 259u) << label(b);
    EXPECT_EQ(buffer[300], '#') << label(b);
  }
}

TEST(ConfigValues, backingsAndSectionsAreSeparate) {
  std::string reg = useSection(Backing::Registry, "switch");
  setConfigInt("only", 1);
  std::string file = useSection(Backing::File, "switch");
  EXPECT_EQ(configInt("only", -5), -5);  // not in the file
  setConfigInt("only", 2);
  EXPECT_EQ(setConfigMode(reg.c_str(), 0), 0);
  EXPECT_EQ(configInt("only", -5), 1);
  EXPECT_EQ(setConfigMode(file.c_str(), 1), 1);
  EXPECT_EQ(configInt("only", -5), 2);
  // Another section of the same file does not see it.
  EXPECT_EQ(setConfigMode("zvtest_fnd_switch_other", 1), 1);
  EXPECT_EQ(configInt("only", -5), -5);
  EXPECT_EQ(fnd::iniRead(file, "only"), "2");
  DWORD type = 0;
  std::vector<char> data;
  ASSERT_TRUE(fnd::regRead(reg, "only", type, data));
  EXPECT_STREQ(data.data(), "1");
}

TEST(ConfigValues, startsWithTheHostFileNameAsRegistrySection) {
  // The helper host reads "probe" before anyone switches the store.
  std::string section = "zvtest_cfghost.exe";
  fnd::regWriteString(section, "probe", "42");
  std::string exe = zvtest::rootDir() + "\\bin\\zvtest_cfghost.exe";
  std::string command = "\"" + exe + "\" section";
  STARTUPINFOA si = {sizeof(si)};
  PROCESS_INFORMATION pi = {};
  ASSERT_TRUE(CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  zv::UniqueKernelHandle process(pi.hProcess), thread(pi.hThread);
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 42u);
  fnd::deleteSection(section);
}
