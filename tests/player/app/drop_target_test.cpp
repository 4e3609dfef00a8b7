// The main window's drop target, called as OLE calls it, with data objects
// that carry files (CF_HDROP) or the player's private records, genuine and
// forged.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <map>

#include "input/drop_target.h"

using namespace zv;

namespace {

// A data object holding one HGLOBAL per format.
class TestData final : public IDataObject {
 public:
  ~TestData() {
    for (auto& [format, memory] : media_) GlobalFree(memory);
  }
  void put(UINT format, const void* bytes, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(memory), bytes, size);
    GlobalUnlock(memory);
    media_[format] = memory;
  }
  void putFiles(const std::vector<std::string>& files) {
    std::vector<char> block(sizeof(DROPFILES));
    for (const std::string& f : files) block.insert(block.end(), f.c_str(), f.c_str() + f.size() + 1);
    block.push_back(0);
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    std::memcpy(block.data(), &header, sizeof(header));
    put(CF_HDROP, block.data(), block.size());
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDataObject) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* f, STGMEDIUM* m) override {
    auto it = media_.find(f->cfFormat);
    if (it == media_.end() || !(f->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
    const size_t size = GlobalSize(it->second);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(copy), GlobalLock(it->second), size);
    GlobalUnlock(copy);
    GlobalUnlock(it->second);
    m->tymed = TYMED_HGLOBAL;
    m->hGlobal = copy;
    m->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* f) override {
    return media_.count(f->cfFormat) && (f->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

 private:
  std::map<UINT, HGLOBAL> media_;
};

struct Log {
  std::vector<std::string> files;
  int mode = -1;
  int opens = 0, menus = 0, editorLines = 0, listItems = 0;
  bool accepting = true;
  std::optional<OpenMode> menuAnswer;
  std::string listCommand;
};

DropHandlers handlersFor(Log& log) {
  DropHandlers h;
  h.accepting = [&log] { return log.accepting; };
  h.askMode = [&log](POINT) {
    ++log.menus;
    return log.menuAnswer;
  };
  h.openFiles = [&log](const std::vector<std::string>& files, OpenMode mode) {
    ++log.opens;
    log.files = files;
    log.mode = static_cast<int>(mode);
  };
  h.editorLine = [&log](const DragRecord&) {
    ++log.editorLines;
    return true;
  };
  h.listItem = [&log](const DragRecord& r, OpenMode mode) {
    ++log.listItems;
    log.listCommand = r.command;
    log.mode = static_cast<int>(mode);
    return true;
  };
  return h;
}

// A whole drag: enter, over, drop; the effect the drop answered.
DWORD drag(DropTarget& target, IDataObject* data, DWORD startKeys, DWORD dropKeys) {
  DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  target.DragEnter(data, startKeys, POINTL{10, 10}, &effect);
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  target.DragOver(startKeys, POINTL{12, 12}, &effect);
  effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
  target.Drop(data, dropKeys, POINTL{12, 12}, &effect);
  return effect;
}

TEST(DropTarget, filesFormOneOpenWithTheModeOfTheModifiers) {
  struct Case {
    DWORD keys;
    int mode;
  } cases[] = {{0, 0}, {MK_SHIFT, 1}, {MK_CONTROL, 3}, {MK_CONTROL | MK_SHIFT, 3}};
  for (const Case& c : cases) {
    Log log;
    DropTarget target(handlersFor(log));
    TestData data;
    data.putFiles({"C:\\music\\a.wav", "C:\\music\\b.wav"});
    EXPECT_EQ(drag(target, &data, MK_LBUTTON | c.keys, c.keys), DWORD(DROPEFFECT_COPY)) << c.keys;
    EXPECT_EQ(log.opens, 1);
    EXPECT_EQ(log.files, (std::vector<std::string>{"C:\\music\\a.wav", "C:\\music\\b.wav"}));
    EXPECT_EQ(log.mode, c.mode) << c.keys;
    EXPECT_EQ(log.menus, 0);
  }
}

TEST(DropTarget, aRightButtonDragAsksTheMenu_andItsCancelCancelsTheDrop) {
  Log log;
  DropTarget target(handlersFor(log));
  TestData data;
  data.putFiles({"C:\\x.wav"});
  log.menuAnswer = 8;
  EXPECT_EQ(drag(target, &data, MK_RBUTTON | MK_CONTROL, MK_CONTROL), DWORD(DROPEFFECT_COPY));
  EXPECT_EQ(log.menus, 1);
  EXPECT_EQ(log.mode, 8) << "the menu's choice, not the modifier";
  log.menuAnswer.reset();
  EXPECT_EQ(drag(target, &data, MK_RBUTTON, 0), DWORD(DROPEFFECT_NONE));
  EXPECT_EQ(log.opens, 1) << "a cancelled menu opens nothing";
}

TEST(DropTarget, refusedWhileAModalDialogIsOpen) {
  Log log;
  log.accepting = false;
  DropTarget target(handlersFor(log));
  TestData data;
  data.putFiles({"C:\\x.wav"});
  DWORD effect = DROPEFFECT_COPY;
  target.DragEnter(&data, MK_LBUTTON, POINTL{0, 0}, &effect);
  EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
  EXPECT_EQ(drag(target, &data, MK_LBUTTON, 0), DWORD(DROPEFFECT_NONE));
  EXPECT_EQ(log.opens, 0);
}

TEST(DropTarget, otherDataAndMoveOnlyDragsAreRefused) {
  Log log;
  DropTarget target(handlersFor(log));
  TestData text;
  const char hello[] = "hello";
  text.put(CF_TEXT, hello, sizeof(hello));
  DWORD effect = DROPEFFECT_COPY;
  target.DragEnter(&text, MK_LBUTTON, POINTL{0, 0}, &effect);
  EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE));
  TestData files;
  files.putFiles({"C:\\x.wav"});
  effect = DROPEFFECT_MOVE;
  target.DragEnter(&files, MK_LBUTTON, POINTL{0, 0}, &effect);
  EXPECT_EQ(effect, DWORD(DROPEFFECT_NONE)) << "copy only";
  effect = DROPEFFECT_MOVE;
  target.Drop(&files, 0, POINTL{0, 0}, &effect);
  EXPECT_EQ(log.opens, 0);
}

TEST(DropTarget, privateRecordsReachTheirHandlersOnlyWhenGenuine) {
  Log log;
  DropTarget target(handlersFor(log));
  {
    TestData data;
    const DragRecord r = makeDragRecord("XLISTITM", 3, 2, "open:C:\\fav.m3u");
    data.put(listItemFormat(), &r, sizeof(r));
    EXPECT_EQ(drag(target, &data, MK_LBUTTON | MK_SHIFT, MK_SHIFT), DWORD(DROPEFFECT_COPY));
    EXPECT_EQ(log.listItems, 1);
    EXPECT_EQ(log.listCommand, "open:C:\\fav.m3u");
    EXPECT_EQ(log.mode, 1);
  }
  {
    TestData data;
    const DragRecord r = makeDragRecord("ZORVAKPL", 1, 5, "");
    data.put(playlistLineFormat(), &r, sizeof(r));
    // A file list beside it is not opened: the line goes back to its editor.
    data.putFiles({"C:\\x.wav"});
    EXPECT_EQ(drag(target, &data, MK_LBUTTON, 0), DWORD(DROPEFFECT_COPY));
    EXPECT_EQ(log.editorLines, 1);
    EXPECT_EQ(log.opens, 0);
  }
  // Forged: another process's record, a wrong tag, a short block, an
  // unterminated command.
  DragRecord other = makeDragRecord("XLISTITM", 3, 2, "open:x");
  other.processId ^= 0x5A5A;
  DragRecord wrongTag = makeDragRecord("ZORVAKPL", 3, 2, "open:x");
  DragRecord unterminated = makeDragRecord("XLISTITM", 3, 2, "");
  std::memset(unterminated.command, 'A', sizeof(unterminated.command));
  struct Forged {
    const void* bytes;
    size_t size;
  } forged[] = {{&other, sizeof(other)}, {&wrongTag, sizeof(wrongTag)}, {&other, 12}, {&unterminated, sizeof(unterminated)}};
  for (const Forged& f : forged) {
    TestData data;
    data.put(listItemFormat(), f.bytes, f.size);
    EXPECT_EQ(drag(target, &data, MK_LBUTTON, 0), DWORD(DROPEFFECT_NONE));
  }
  EXPECT_EQ(log.listItems, 1) << "no forged record reached the handler";
}

// Through OLE itself: the target registered on a real window is the one
// OLE hands drags to (RegisterDragDrop takes it and gives it back).
TEST(DropTarget, registersOnARealWindow) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  if (!window) {
    OleUninitialize();
    GTEST_SKIP() << "no display";
  }
  Log log;
  DropTarget target(handlersFor(log));
  EXPECT_EQ(RegisterDragDrop(window, &target), S_OK);
  EXPECT_EQ(RegisterDragDrop(window, &target), DRAGDROP_E_ALREADYREGISTERED);
  EXPECT_EQ(RevokeDragDrop(window), S_OK);
  DestroyWindow(window);
  OleUninitialize();
}

}  // namespace
