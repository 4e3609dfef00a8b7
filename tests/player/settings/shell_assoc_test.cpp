// The file-types page's registrations against the real registry, under
// private keys standing for the classes root and the local machine: every
// key and value, the "orgdef" round trips, and "/unreg" undoing all of it.
#include <gtest/gtest.h>

#include <windows.h>

#include "registry_snapshot.h"
#include "startup/shell_assoc.h"
#include "startup/shell_registry.h"

using namespace zv;
using settingstest::PrivateRoot;
using settingstest::snapshot;

namespace {

const char* const kLauncher = "C:\\Program Files\\Zorvak\\zorvak.exe";
const char* const kIcons = "C:\\Program Files\\Zorvak\\bin\\zorvak.exe";
const char* const kOpen = "\"C:\\Program Files\\Zorvak\\zorvak.exe\" /enqueue /start /find \"%1\"";
const char* const kEnqueue = "\"C:\\Program Files\\Zorvak\\zorvak.exe\" /enqueue \"%1\"";

struct ShellAssoc : ::testing::Test {
  PrivateRoot classes{"assocC"}, machine{"assocM"};
  int notified = 0;

  LONG write(std::vector<std::pair<std::string, bool>> exts, bool folders = false, bool cds = false) {
    AssocChoice choice{std::move(exts), folders, cds};
    return writeShellRegistrations(ShellRoots{classes.get(), machine.get()}, choice, AssocProgram{kLauncher, kIcons},
                                   AssocTexts{}, [&] { ++notified; });
  }
  void unreg() { removeShellRegistrations(ShellRoots{classes.get(), machine.get()}, [&] { ++notified; }); }
};

TEST_F(ShellAssoc, writesEveryTypeVerbAndExtensionKey) {
  ASSERT_EQ(write({{".mp3", true}, {".m3u", true}, {".cda", true}, {".ogg", false}}, true, true), ERROR_SUCCESS);
  EXPECT_EQ(notified, 1);
  struct Row {
    const char* key;
    const char* value;
  } rows[] = {
      {"Zorvak file", "Zorvak file"},
      {"Zorvak file\\shell", "open"},
      {"Zorvak file\\shell\\open", "Play with Zorvak"},
      {"Zorvak file\\shell\\open\\command", kOpen},
      {"Zorvak file\\shell\\enqueue", "Add to Zorvak playlist"},
      {"Zorvak file\\shell\\enqueue\\command", kEnqueue},
      {"Zorvak file\\DefaultIcon", "C:\\Program Files\\Zorvak\\bin\\zorvak.exe,1"},
      {"Zorvak playlist", "Zorvak playlist"},
      {"Zorvak playlist\\shell\\open\\command", kOpen},
      {"Zorvak playlist\\DefaultIcon", "C:\\Program Files\\Zorvak\\bin\\zorvak.exe,2"},
      {"Zorvak CDA track", "Zorvak CDA track"},
      {"Zorvak CDA track\\shell\\enqueue\\command", kEnqueue},
      {"Zorvak CDA track\\DefaultIcon", "C:\\Program Files\\Zorvak\\bin\\zorvak.exe,3"},
      {"Directory\\shell\\zvplay", "Play with Zorvak"},
      {"Directory\\shell\\zvplay\\command", kOpen},
      {"Drive\\shell\\zvplay\\command", kOpen},
      {"Directory\\shell\\zvenqueue", "Add to Zorvak playlist"},
      {"Drive\\shell\\zvenqueue\\command", kEnqueue},
      {"AudioCD\\shell\\play\\command", kOpen},
      {".mp3", "Zorvak file"},
      {".m3u", "Zorvak playlist"},
      {".cda", "Zorvak CDA track"},
  };
  for (const Row& r : rows) EXPECT_EQ(classes.get(r.key), r.value) << r.key;
  EXPECT_EQ(machine.get(kAppPathsKey), kLauncher);
  for (const char* ext : {".mp3", ".m3u", ".cda", ".ogg"})
    EXPECT_TRUE(classes.exists(std::string(ext) + "\\OpenWithList\\zorvak.exe")) << ext;
  EXPECT_EQ(classes.get(".ogg"), std::nullopt) << "an unchecked extension gets no type";
  EXPECT_TRUE(isAssociated(classes.get(), ".mp3"));
  EXPECT_FALSE(isAssociated(classes.get(), ".ogg"));
  EXPECT_TRUE(folderVerbsRegistered(classes.get()));
  EXPECT_TRUE(audioCdRegistered(classes.get()));
}

TEST_F(ShellAssoc, cdaIsAlwaysTheCdaTypeAndPlaylistsThePlaylistType) {
  ASSERT_EQ(write({{".cda", true}, {".pls", true}, {".aap", true}, {".flac", true}}), ERROR_SUCCESS);
  EXPECT_EQ(classes.get(".cda"), "Zorvak CDA track");
  EXPECT_EQ(classes.get(".pls"), "Zorvak playlist");
  EXPECT_EQ(classes.get(".aap"), "Zorvak playlist");
  EXPECT_EQ(classes.get(".flac"), "Zorvak file");
}

TEST_F(ShellAssoc, orgdefKeepsTheForeignTypeAcrossRepeatsAndComesBackOnUncheck) {
  classes.put(".mp3", nullptr, "OtherPlayer.mp3");
  ASSERT_EQ(write({{".mp3", true}}), ERROR_SUCCESS);
  EXPECT_EQ(classes.get(".mp3", "orgdef"), "OtherPlayer.mp3");
  ASSERT_EQ(write({{".mp3", true}}), ERROR_SUCCESS);
  EXPECT_EQ(classes.get(".mp3", "orgdef"), "OtherPlayer.mp3") << "a second association keeps the first orgdef";
  EXPECT_EQ(classes.get(".mp3"), "Zorvak file");
  ASSERT_EQ(write({{".mp3", false}}), ERROR_SUCCESS);
  EXPECT_EQ(classes.get(".mp3"), "OtherPlayer.mp3");
  EXPECT_EQ(classes.get(".mp3", "orgdef"), std::nullopt);
}

TEST_F(ShellAssoc, ourOwnTypeIsNeverKeptAsThePreviousOne) {
  classes.put(".ogg", nullptr, "ZORVAK FILE");  // ours, its orgdef lost
  ASSERT_EQ(write({{".ogg", true}}), ERROR_SUCCESS);
  EXPECT_EQ(classes.get(".ogg", "orgdef"), std::nullopt);
  ASSERT_EQ(write({{".ogg", false}}), ERROR_SUCCESS);
  EXPECT_EQ(classes.get(".ogg"), std::nullopt) << "the association can be removed";
}

TEST_F(ShellAssoc, uncheckLeavesAnExtensionAnotherProgramTookOver) {
  classes.put(".wav", nullptr, "Old.wav");
  ASSERT_EQ(write({{".wav", true}}), ERROR_SUCCESS);
  classes.put(".wav", nullptr, "Newer.wav");
  ASSERT_EQ(write({{".wav", false}}), ERROR_SUCCESS);
  EXPECT_EQ(classes.get(".wav"), "Newer.wav");
}

TEST_F(ShellAssoc, audioCdVerbKeepsAndRestoresOnlyWhileOurs) {
  classes.put(kAudioCdCommandKey, nullptr, "cdplayer.exe %1");
  ASSERT_EQ(write({}, false, true), ERROR_SUCCESS);
  EXPECT_EQ(classes.get(kAudioCdCommandKey), kOpen);
  EXPECT_EQ(classes.get(kAudioCdCommandKey, "orgdef"), "cdplayer.exe %1");
  ASSERT_EQ(write({}, false, true), ERROR_SUCCESS);
  EXPECT_EQ(classes.get(kAudioCdCommandKey, "orgdef"), "cdplayer.exe %1");
  ASSERT_EQ(write({}, false, false), ERROR_SUCCESS);
  EXPECT_EQ(classes.get(kAudioCdCommandKey), "cdplayer.exe %1");
  EXPECT_FALSE(audioCdRegistered(classes.get()));

  ASSERT_EQ(write({}, false, true), ERROR_SUCCESS);
  classes.put(kAudioCdCommandKey, nullptr, "otherplayer.exe %1");
  ASSERT_EQ(write({}, false, false), ERROR_SUCCESS);
  EXPECT_EQ(classes.get(kAudioCdCommandKey), "otherplayer.exe %1") << "another player's verb stays";
}

TEST_F(ShellAssoc, foldersUncheckedDeletesTheVerbsEvenWhenNeverWritten) {
  classes.put("Directory\\shell\\zvplay\\command", nullptr, "stale");
  classes.put("AudioCD\\shell\\zvenqueue", nullptr, "old verb");
  classes.put("Directory\\shell\\other", nullptr, "keep");
  ASSERT_EQ(write({}, false), ERROR_SUCCESS);
  for (const char* verb : kFolderVerbKeys) EXPECT_FALSE(classes.exists(verb)) << verb;
  EXPECT_FALSE(classes.exists("AudioCD\\shell\\zvenqueue"));
  EXPECT_TRUE(classes.exists("Directory\\shell\\other"));
  EXPECT_FALSE(folderVerbsRegistered(classes.get()));
}

TEST_F(ShellAssoc, unregLeavesNoneOfOurKeysOrValuesAndEveryDefaultRestored) {
  classes.put(".mp3", nullptr, "OtherPlayer.mp3");
  classes.put(".mp3\\OpenWithList\\other.exe", nullptr, "");
  classes.put(".ogg", nullptr, "Vorbis.ogg");
  classes.put(kAudioCdCommandKey, nullptr, "cdplayer.exe %1");
  classes.put("Directory\\shell\\find", nullptr, "Search...");
  machine.put("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\other.exe", nullptr, "C:\\o.exe");
  const settingstest::Snapshot before = snapshot(classes.get());
  const settingstest::Snapshot machineBefore = snapshot(machine.get());

  ASSERT_EQ(write({{".m3u", true}, {".mp3", true}, {".ogg", false}, {".flac", true}, {".cda", true}}, true, true),
            ERROR_SUCCESS);
  ASSERT_NE(snapshot(classes.get()), before);
  classes.put("AudioCD\\shell\\zvplay\\command", nullptr, kOpen);  // a verb of ours of old
  unreg();
  EXPECT_EQ(snapshot(classes.get()), before);
  EXPECT_EQ(snapshot(machine.get()), machineBefore);
  EXPECT_EQ(notified, 2);
}

TEST_F(ShellAssoc, aRefusedWriteIsReportedWithEarlierWritesKept) {
  // A local machine root whose key was deleted under the open handle: the
  // registry refuses to create anything below it (ERROR_KEY_DELETED).
  PrivateRoot gone{"assocGone"};
  HKEY handle = nullptr;
  ASSERT_EQ(RegOpenKeyExA(gone.get(), nullptr, 0, KEY_ALL_ACCESS, &handle), ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, ("Software\\ZorvakTest\\assocGone" + std::to_string(GetCurrentProcessId())).c_str()),
            ERROR_SUCCESS);
  AssocChoice choice{{{".mp3", true}}, true, false};
  const LONG r = writeShellRegistrations(ShellRoots{classes.get(), handle}, choice, AssocProgram{kLauncher, kIcons},
                                         AssocTexts{}, [&] { ++notified; });
  RegCloseKey(handle);
  EXPECT_NE(r, ERROR_SUCCESS);
  EXPECT_EQ(notified, 0) << "no change notification for a refused write";
  EXPECT_EQ(classes.get(".mp3"), "Zorvak file") << "what was written before stays";
  EXPECT_EQ(classes.get("Directory\\shell\\zvplay\\command"), kOpen);
}

TEST(ShellAssocText, userExtensionsAreValidatedBeforeTheyBecomeKeyNames) {
  struct Case {
    const char* typed;
    std::optional<std::string> result;
  } cases[] = {
      {"mod", ".mod"}, {".XM", ".xm"},      {" .it ", ".it"},      {"a_b~c$d-e", ".a_b~c$d-e"},
      {"", std::nullopt}, {".", std::nullopt}, {"mp3\\shell", std::nullopt}, {"a,b", std::nullopt},
      {"..mp3", std::nullopt}, {"a b", std::nullopt}, {"1234567890123456", std::nullopt}, {"123456789012345", ".123456789012345"},
      {"\xe9t\xe9", std::nullopt}, {"a/b", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(normaliseExtension(c.typed), c.result) << c.typed;
  EXPECT_EQ(splitExtensions(".mod,XM,bad\\key,.mod,, it"), (std::vector<std::string>{".mod", ".xm", ".it"}));
  EXPECT_EQ(joinExtensions({".mod", ".xm"}), ".mod,.xm");
}

TEST(ShellAssocText, treeHasPlaylistsDecodersKindsAndUserGroupsWithoutEmptyOnes) {
  auto tree = buildExtensionTree({{"MP3 decoder", ".mp3,.mp2"}, {"Nothing", ""}}, {{"cdaudio", ".cda"}}, "mod,.xm",
                                 [](const char* s) { return std::string(s).substr(std::string(s).find("###") + 3); });
  ASSERT_EQ(tree.size(), 4u);
  EXPECT_EQ(tree[0].caption, "Playlists");
  EXPECT_EQ(tree[0].extensions, (std::vector<std::string>{".m3u", ".z3u", ".pls", ".aap"}));
  EXPECT_EQ(tree[1].caption, "MP3 decoder");
  EXPECT_EQ(tree[2].extensions, (std::vector<std::string>{".cda"}));
  EXPECT_TRUE(tree[3].userDefined);
  EXPECT_EQ(tree[3].extensions, (std::vector<std::string>{".mod", ".xm"}));
}

TEST(ShellAssocText, launcherIsTheFolderAboveThePlayers) {
  EXPECT_EQ(launcherOf("C:\\Zorvak\\bin\\zorvak.exe"), "C:\\Zorvak\\zorvak.exe");
  EXPECT_EQ(openCommand("C:\\Z\\zorvak.exe"), "\"C:\\Z\\zorvak.exe\" /enqueue /start /find \"%1\"");
}

}  // namespace
