// The binary playlist through plSave/plLoad and the handle forms: the
// layout byte for byte, damaged files, and saves that must fail cleanly.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "files_fixture.h"
#include "testkit.h"
#include "win32/owners.h"

using pltest::OwnedPl;

namespace {

using Bytes = std::vector<uint8_t>;

void put32(Bytes& b, int32_t v) {
  for (int k = 0; k < 4; ++k) b.push_back(uint8_t(uint32_t(v) >> (8 * k)));
}
void putText(Bytes& b, const char* s) { b.insert(b.end(), s, s + std::strlen(s)); }
int32_t get32(const Bytes& b, size_t at) {
  uint32_t v = 0;
  for (int k = 0; k < 4; ++k) v |= uint32_t(b[at + k]) << (8 * k);
  return int32_t(v);
}
void set32(Bytes& b, size_t at, int32_t v) {
  for (int k = 0; k < 4; ++k) b[at + k] = uint8_t(uint32_t(v) >> (8 * k));
}

// Two lines: one with name and desc, one with name and info.
void fillTwoLines(Playlist pl) {
  PlaylistLine a = {0x4000, 0, 1000, 1, 5, 7, 0};
  PlaylistLine b = {0x0400, 1, -1, 2, 0, 0, 3};
  plAddLine(pl, &a, "C:\\a.mp3", "A", nullptr);
  plAddLine(pl, &b, "C:\\b.mp3", nullptr, "title=x");
}

// A string block as the table gives it; the capacities are taken from the
// written file (they are the writer's in-memory ones) after checking them.
struct Block {
  std::vector<const char*> items;  // null: absent
};

size_t appendBlock(Bytes& out, const Block& block, const Bytes& written, size_t at) {
  int32_t n = int32_t(block.items.size());
  Bytes data;
  std::vector<int32_t> offsets;
  for (const char* s : block.items) {
    if (!s) {
      offsets.push_back(-1);
      continue;
    }
    offsets.push_back(int32_t(data.size()));
    put32(data, int32_t(std::strlen(s) + 1));
    data.insert(data.end(), s, s + std::strlen(s) + 1);
  }
  int32_t used = int32_t(data.size());
  int32_t indexCapacity = get32(written, at + 4), dataCapacity = get32(written, at + 12);
  EXPECT_GE(indexCapacity, n);
  EXPECT_GE(dataCapacity, used);
  EXPECT_LT(dataCapacity - used, 20480);
  put32(out, n);
  put32(out, indexCapacity);
  put32(out, used);
  put32(out, dataCapacity);
  for (int32_t o : offsets) put32(out, o);
  out.insert(out.end(), data.begin(), data.end());
  return out.size();
}

Bytes handBuiltTwoLines(const Bytes& written) {
  Bytes b;
  putText(b, "ZVPL0010");
  put32(b, 2);
  put32(b, 28);
  for (int32_t v : {0x4000, 0, 1000, 1, 5, 7, 0}) put32(b, v);
  for (int32_t v : {0x0400, 1, -1, 2, 0, 0, 3}) put32(b, v);
  size_t at = b.size();
  at = appendBlock(b, Block{{"C:\\a.mp3", "C:\\b.mp3"}}, written, at);
  at = appendBlock(b, Block{{"A", nullptr}}, written, at);
  appendBlock(b, Block{{nullptr, "title=x"}}, written, at);
  return b;
}

std::vector<std::string> texts(Playlist pl) {
  std::vector<std::string> out;
  for (int32_t i = 0; i < plGetCount(pl); ++i) {
    PlaylistLine* r = plGetRec(pl, i);
    out.push_back(std::string(plGetName(pl, i)) + "|" + plGetDesc(pl, i) + "|" + plGetInfo(pl, i) + "|" +
                  std::to_string(r->flags) + "," + std::to_string(r->level) + "," + std::to_string(r->time) + "," +
                  std::to_string(r->files) + "," + std::to_string(r->size) + "," + std::to_string(r->user) + "," +
                  std::to_string(r->mark));
  }
  return out;
}

}  // namespace

TEST(BinaryPlaylist, writtenFileMatchesTheLayoutByteForByteAndReadsBack) {
  pltest::ensureEngine();
  std::string dir = zvtest::freshDir("bin");
  std::string path = dir + "\\two.zpl";
  OwnedPl pl;
  fillTwoLines(pl);
  ASSERT_EQ(plSave(pl, path.c_str(), plSaveBinary), plResultOk);
  Bytes written = zvtest::readFile(path);
  ASSERT_GT(written.size(), 16u + 56u);
  EXPECT_EQ(written, handBuiltTwoLines(written));

  OwnedPl back;
  plAddLine(back, nullptr, "stale", nullptr, nullptr);
  ASSERT_EQ(plLoad(back, path.c_str(), plLoadBinary), plResultOk);
  EXPECT_EQ(texts(back), texts(pl));
  EXPECT_EQ(texts(back)[1], "C:\\b.mp3||title=x|1024,1,-1,2,0,0,3");
  EXPECT_FALSE(pltest::exists(path + ".tmp"));
}

TEST(BinaryPlaylist, handleFormsWorkBehindTheCallersOwnHeader) {
  pltest::ensureEngine();
  std::string path = zvtest::freshDir("handle") + "\\own.dat";
  OwnedPl pl;
  fillTwoLines(pl);
  zv::UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(f);
  DWORD n = 0;
  WriteFile(f.get(), "HEAD", 4, &n, nullptr);
  EXPECT_EQ(plSaveToHandle(pl, f.get()), 1);
  WriteFile(f.get(), "TAIL", 4, &n, nullptr);
  SetFilePointer(f.get(), 4, nullptr, FILE_BEGIN);
  OwnedPl back;
  EXPECT_EQ(plLoadFromHandle(back, f.get()), 1);
  EXPECT_EQ(texts(back), texts(pl));
  char tail[4] = {};
  ReadFile(f.get(), tail, 4, &n, nullptr);
  EXPECT_EQ(std::string(tail, 4), "TAIL") << "the reader stops behind the playlist";
  f.reset();

  EXPECT_EQ(plLoadFromHandle(back, INVALID_HANDLE_VALUE), 0);
  EXPECT_EQ(plLoadFromHandle(back, nullptr), 0);
  EXPECT_EQ(plSaveToHandle(pl, INVALID_HANDLE_VALUE), 0);
  EXPECT_EQ(plSaveToHandle(pl, nullptr), 0);
}

TEST(BinaryPlaylist, shortOrForeignMagicIsRefusedAndLeavesThePlaylist) {
  pltest::ensureEngine();
  std::string dir = zvtest::freshDir("magic");
  const struct {
    const char* bytes;
    size_t size;
  } rows[] = {{"", 0}, {"ZVPL001", 7}, {"ZVPL0011xxxxxxxx", 16}, {"zvpl0010\0\0\0\0\x1c\0\0\0", 16}};
  int k = 0;
  for (const auto& r : rows) {
    std::string path = dir + "\\m" + std::to_string(k++);
    zvtest::writeFile(path, r.bytes, r.size);
    zv::UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    OwnedPl pl;
    plAddLine(pl, nullptr, "kept", nullptr, nullptr);
    EXPECT_EQ(plLoadFromHandle(pl, f.get()), 0) << path;
    EXPECT_EQ(plGetCount(pl), 1) << path;
    f.reset();
    EXPECT_EQ(plLoad(pl, path.c_str(), plLoadBinary), plResultFailed) << path;
    EXPECT_EQ(plGetCount(pl), 0) << "plLoad clears first";
  }
  OwnedPl pl;
  EXPECT_EQ(plLoad(pl, (dir + "\\missing.zpl").c_str(), plLoadBinary), plResultFailed);
}

// Files that lie about their sizes: each is refused as a whole, with no
// partial playlist and no read past what the file holds.
TEST(BinaryPlaylist, damagedBodiesAreRefusedWhole) {
  pltest::ensureEngine();
  std::string dir = zvtest::freshDir("damaged");
  OwnedPl pl;
  fillTwoLines(pl);
  std::string goodPath = dir + "\\good.zpl";
  ASSERT_EQ(plSave(pl, goodPath.c_str(), plSaveBinary), plResultOk);
  const Bytes good = zvtest::readFile(goodPath);
  size_t names = 16 + 56;
  size_t descs = names + 16 + 8 + size_t(get32(good, names + 8));

  struct Row {
    const char* what;
    void (*damage)(Bytes&, size_t names, size_t descs);
  };
  const Row rows[] = {
      {"line count far beyond the file", [](Bytes& b, size_t, size_t) { set32(b, 8, 0x7FFFFFF0); }},
      {"line count one too many", [](Bytes& b, size_t, size_t) { set32(b, 8, 3); }},
      {"negative line count", [](Bytes& b, size_t, size_t) { set32(b, 8, -2); }},
      {"record size not 28", [](Bytes& b, size_t, size_t) { set32(b, 12, 4); }},
      {"record size 0", [](Bytes& b, size_t, size_t) { set32(b, 12, 0); }},
      {"names count differs from the lines", [](Bytes& b, size_t n, size_t) { set32(b, n, 1); }},
      {"names data size beyond the file", [](Bytes& b, size_t n, size_t) { set32(b, n + 8, 0x10000000); }},
      {"an offset outside the data", [](Bytes& b, size_t n, size_t) { set32(b, n + 20, 5000); }},
      // "C:\\a.mp3" is read as a C string: without its terminator it would
      // run on into the next record.
      {"a name without its terminator", [](Bytes& b, size_t n, size_t) { b[n + 36] = 'x'; }},
      {"descs block cut short", [](Bytes& b, size_t, size_t d) { b.resize(d + 10); }},
      {"infos block missing", [](Bytes& b, size_t, size_t d) { b.resize(d + 16 + 8 + get32(b, d + 8)); }},
  };
  for (const Row& r : rows) {
    Bytes bad = good;
    r.damage(bad, names, descs);
    std::string path = dir + "\\bad.zpl";
    zvtest::writeFile(path, bad.data(), bad.size());
    OwnedPl back;
    EXPECT_EQ(plLoad(back, path.c_str(), plLoadBinary), plResultFailed) << r.what;
    EXPECT_EQ(plGetCount(back), 0) << r.what;
    // The playlist is still whole and usable.
    plAddLine(back, nullptr, "x", "y", "z");
    EXPECT_STREQ(plGetInfo(back, 0), "z") << r.what;
  }
}

TEST(BinaryPlaylist, failedSaveKeepsTheOriginalAndLeavesNoTemporaryFile) {
  pltest::ensureEngine();
  std::string dir = zvtest::freshDir("failsave");
  OwnedPl pl;
  fillTwoLines(pl);
  for (uint32_t flags : {uint32_t(plSaveBinary), uint32_t(plSaveNoNotify)}) {
    SCOPED_TRACE(flags);
    // A target that is a folder.
    std::string folder = dir + "\\folder.m3u";
    CreateDirectoryA(folder.c_str(), nullptr);
    EXPECT_EQ(plSave(pl, folder.c_str(), flags), plResultFailed);
    EXPECT_TRUE(GetFileAttributesA(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_FALSE(pltest::exists(folder + ".tmp"));
    // A target in a folder that does not exist.
    EXPECT_EQ(plSave(pl, (dir + "\\nowhere\\x.m3u").c_str(), flags), plResultFailed);
    // The temporary file cannot be made: the original stays as it was.
    std::string target = dir + "\\keep.m3u";
    pltest::writeText(target, "original");
    CreateDirectoryA((target + ".tmp").c_str(), nullptr);
    EXPECT_EQ(plSave(pl, target.c_str(), flags), plResultFailed);
    EXPECT_EQ(pltest::readText(target), "original");
    RemoveDirectoryA((target + ".tmp").c_str());
    // Then it works, and a read-only original is replaced.
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(plSave(pl, target.c_str(), flags), plResultOk);
    EXPECT_NE(pltest::readText(target), "original");
    EXPECT_FALSE(pltest::exists(target + ".tmp"));
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  EXPECT_EQ(plSave(nullptr, (dir + "\\n.m3u").c_str(), 0), plResultFailed);
  EXPECT_EQ(plSave(pl, nullptr, 0), plResultFailed);
  EXPECT_EQ(plLoad(pl, nullptr, 0), plResultFailed);
}
