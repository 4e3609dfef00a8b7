// The handle owners: each handle closed exactly once whatever moves it, with
// real kernel, find, window and GDI handles, and a COM object that counts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "testkit.h"
#include "win32/owners.h"

namespace {

// Records every close, so "once" can be counted.
std::vector<int> g_closed;
struct CountedTraits {
  using Type = int;
  static Type empty() { return 0; }
  static void close(Type h) { g_closed.push_back(h); }
};
using Counted = zv::UniqueHandle<CountedTraits>;

TEST(UniqueHandle, eachHandleIsClosedOnceWhateverMovesIt) {
  g_closed.clear();
  {
    Counted a(1);
    Counted b(std::move(a));  // a gives it up
    EXPECT_FALSE(a.valid());
    Counted c(2);
    c = std::move(b);  // 2 closes now, 1 moves on
    EXPECT_EQ(g_closed, std::vector<int>{2});
    Counted& alias = c;
    c = std::move(alias);  // moving onto itself keeps the handle
    EXPECT_EQ(c.get(), 1);
    EXPECT_EQ(g_closed, std::vector<int>{2});
  }
  EXPECT_EQ(g_closed, (std::vector<int>{2, 1}));
}

TEST(UniqueHandle, resetClosesTheOldHandleOnceAndReleaseClosesNothing) {
  g_closed.clear();
  Counted a(3);
  a.reset(4);
  EXPECT_EQ(g_closed, std::vector<int>{3});
  a.reset();
  a.reset();  // empty: nothing more to close
  EXPECT_EQ(g_closed, (std::vector<int>{3, 4}));
  a.reset(5);
  EXPECT_EQ(a.release(), 5);
  *a.put() = 6;  // an API filling the owner
  a.put();       // closes 6 before it is filled again
  EXPECT_EQ(g_closed, (std::vector<int>{3, 4, 6}));
}

bool handleOpen(HANDLE h) {
  DWORD flags = 0;
  return GetHandleInformation(h, &flags) != 0;
}

TEST(UniqueKernelHandle, aMovedFromOwnerLeavesTheEventOpenAndResetClosesIt) {
  zv::UniqueKernelHandle moved;
  HANDLE raw = nullptr;
  {
    zv::UniqueKernelHandle first(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    raw = first.get();
    ASSERT_TRUE(first);
    moved = std::move(first);
  }
  EXPECT_TRUE(handleOpen(raw));
  EXPECT_TRUE(SetEvent(moved.get()));
  moved.reset();
  EXPECT_FALSE(handleOpen(raw));
}

TEST(UniqueFind, aListingClosedByResetCannotGoOn) {
  const std::string dir = zvtest::freshDir("find");
  for (const char* name : {"\\a.txt", "\\b.txt", "\\c.txt"}) ASSERT_TRUE(zvtest::writeFile(dir + name, "x", 1));
  WIN32_FIND_DATAA data;
  zv::UniqueFind find(FindFirstFileA((dir + "\\*.txt").c_str(), &data));
  ASSERT_TRUE(find);
  zv::UniqueFind moved(std::move(find));
  EXPECT_TRUE(FindNextFileA(moved.get(), &data));  // still open after the move
  HANDLE raw = moved.get();
  moved.reset();
  EXPECT_FALSE(FindNextFileA(raw, &data));
  EXPECT_FALSE(zv::UniqueFind(FindFirstFileA((dir + "\\*.none").c_str(), &data)).valid());
}

TEST(SelectedObject, putsThePreviousBitmapBackSoTheBitmapCanBeDeleted) {
  zv::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BITMAP);
  zv::UniqueBitmap bitmap(CreateCompatibleBitmap(dc.get(), 4, 4));
  ASSERT_TRUE(bitmap);
  HBITMAP raw = bitmap.get();
  {
    zv::SelectedObject selected(dc.get(), bitmap.get());
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), raw);
  }
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original);
  bitmap.reset();
  EXPECT_EQ(GetObjectType(raw), 0u);  // deleted, which a selected bitmap cannot be
}

TEST(UniqueWindow, resetDestroysTheWindow) {
  zv::UniqueWindow window(CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
  ASSERT_TRUE(window);
  HWND raw = window.get();
  zv::UniqueWindow moved(std::move(window));
  EXPECT_TRUE(IsWindow(raw));
  moved.reset();
  EXPECT_FALSE(IsWindow(raw));
}

// The smallest COM object: counts its references.
class Counter : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  ULONG refs = 1;
};

TEST(ComRef, releasesOnceAndAMovedFromReferenceReleasesNothing) {
  Counter object;
  {
    zv::ComRef<IUnknown> first(&object);
    zv::ComRef<IUnknown> second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(object.refs, 1u);
  }
  EXPECT_EQ(object.refs, 0u);
  object.refs = 2;
  zv::ComRef<IUnknown> held(&object);
  *held.put() = &object;  // put() gives up the old reference first
  EXPECT_EQ(object.refs, 1u);
  held.reset();
  held.reset();
  EXPECT_EQ(object.refs, 0u);
}

}  // namespace
