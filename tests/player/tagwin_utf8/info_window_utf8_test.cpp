// The file information window under the UTF-8 active code page (this
// program has the player's manifest), on a real MP3 named in Japanese in a
// folder named in Greek with an emoji: its path, its ID3v1 record written
// in 1252 and its ID3v2 texts beyond 1252 show as their characters in the
// system controls (read back as UTF-16), and what is typed is saved to the
// file through zvid3 and read back.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "child_controls.h"
#include "id3v2_lines.h"
#include "info_wnd.h"
#include "testkit.h"
#include "zv_plugins.h"
#include "zvid3.h"

using namespace zv::info;

namespace {

const std::string kFileName = "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xE6\x9B\xB2.mp3";  // "日本語 曲.mp3"
const std::string kNightSong = "\xE5\xA4\x9C\xE3\x81\xAE\xE6\xAD\x8C \xF0\x9F\x8E\xB8";  // "夜の歌 🎸"
const std::string kGreek = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD\xCE\xB9\xCE\xBA\xCE\xAC";  // "Ελληνικά"
const std::string kCafe = "Caf\xC3\xA9 \xE2\x82\xAC na\xC3\xAFve";  // the 1252 ID3v1 title, "Café € naïve"

std::wstring utf16(const std::string& utf8) {
  std::wstring w(utf8.size(), L'\0');
  w.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), w.data(), int(w.size()))));
  return w;
}

// What a control shows, read through the wide function: the characters the
// user sees, whatever the 8-bit side did.
std::wstring shownText(HWND control) {
  wchar_t text[512] = {};
  GetWindowTextW(control, text, 512);
  return text;
}

std::wstring listLine(HWND list, int index) {
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, WPARAM(index), 0);
  if (length == LB_ERR) return L"<none>";
  std::wstring text(size_t(length) + 1, L'\0');
  SendMessageW(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(size_t(length));
  return text;
}

void type(HWND edit, const std::string& text) { SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); }

class Utf8InfoWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static bool started = false;
    if (!started) initPlugins(), started = true;
  }
  void SetUp() override {
    ASSERT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)) << "the manifest sets UTF-8";
    if (!zvtest::haveDisplay()) GTEST_SKIP() << "no display";
    const std::string dir = zvtest::freshDir(::testing::UnitTest::GetInstance()->current_test_info()->name()) +
                            "\\\xCE\x9C\xCE\xBF\xCF\x85\xCF\x83\xCE\xB9\xCE\xBA\xCE\xAE \xF0\x9F\x8E\xB5";
    ASSERT_TRUE(CreateDirectoryA(dir.c_str(), nullptr));
    file_ = dir + "\\" + kFileName;
    ASSERT_TRUE(CopyFileA((zvtest::testDir() + "\\media\\" + kFileName).c_str(), file_.c_str(), FALSE));
    window_ = std::make_unique<TInfoWnd>(zvtest::rootDir(), "en");
    ASSERT_TRUE(window_->create(nullptr));
    window_->setMessageSink([this](const std::string& text) { messages_ += text + ";"; });
  }
  std::string file_, messages_;
  std::unique_ptr<TInfoWnd> window_;
};

}  // namespace

TEST_F(Utf8InfoWindow, pathAndTagsShowTheirCharacters) {
  window_->showFile(file_);
  EXPECT_EQ(shownText(window_->control("title")), utf16(kCafe)) << "the 1252 ID3v1 record";
  EXPECT_EQ(shownText(window_->control("artist")), L"Bj\u00F6rk");
  EXPECT_EQ(listLine(window_->control("finfo"), 0), utf16(file_)) << "the path on the file page";
  HWND frames = window_->control("id3v2list");
  const LRESULT count = SendMessageW(frames, LB_GETCOUNT, 0, 0);
  bool title = false, artist = false;
  for (int i = 0; i < count; ++i) {
    const std::wstring line = listLine(frames, i);
    title = title || line.find(utf16(kNightSong)) != std::wstring::npos;
    artist = artist || line.find(utf16(kGreek)) != std::wstring::npos;
  }
  EXPECT_TRUE(title) << "the ID3v2 title in the frame list";
  EXPECT_TRUE(artist) << "the ID3v2 artist in the frame list";
  EXPECT_EQ(messages_, "");
}

TEST_F(Utf8InfoWindow, typedTextsAreSavedToTheFileAndReadBack) {
  window_->showFile(file_);
  type(window_->control("title"), kGreek);
  type(window_->control("artist"), "Cr\xC3\xA8me");
  EXPECT_TRUE(window_->id3Dirty());
  // The ID3v1 page into ID3v2 frames (title, artist, the file's name).
  window_->runCommand("@id3");
  window_->saveChanges();
  window_->showFile("");
  EXPECT_EQ(messages_, "");

  ZvId3v1Tag record{};
  ASSERT_EQ(readTag(file_.c_str(), &record), ZV_ID3_OK);
  EXPECT_EQ(std::string(record.title, strnlen(record.title, 30)), kGreek) << "beyond 1252: stored as UTF-8";
  EXPECT_EQ(std::string(record.artist, strnlen(record.artist, 30)), "Cr\xE8me") << "1252 holds it: stored so";

  // A save finds the file in use while the engine reads it for the fresh
  // description the save asked for; it is then deferred to the batch that
  // the program runs later, which the test runs itself.
  auto frames = [this] {
    ZvId3v2Tag tag = id3v2Create();
    std::string text;
    if (id3v2Load(tag, file_.c_str()) == ZV_ID3_OK)
      for (const char* id : {"tit2", "tpe1", "tofn"}) text += frameField(id3v2FindFrame(tag, id), "content") + "|";
    id3v2Free(tag);
    return text;
  };
  const std::string expected = kGreek + "|Cr\xC3\xA8me|" + kFileName + "|";
  EXPECT_TRUE(zvtest::waitFor([&] { return frames() == expected || (id3v2DoBatch(nullptr), false); }, 5000))
      << "title, artist and original file name: " << frames();
}
