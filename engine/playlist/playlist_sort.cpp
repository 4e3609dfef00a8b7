// plSortIndex, plSort and plFind: a quicksort of the caller's index by keys
// computed once per line, reversing, shuffling, and a binary search.
#include <windows.h>

#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "foundation/diagnostics.h"
#include "foundation/dyn_array.h"
#include "foundation/str_list.h"
#include "foundation/text_compare.h"
#include "foundation/text_util.h"
#include "playlist/playlist_model.h"
#include "playlist/sort_keys.h"

namespace zv {
namespace {

// The keys live on the handle and are freed however the sort ends.
struct SortScope {
  PlaylistHandle* pl;
  SortScope(PlaylistHandle* p, int32_t* index) : pl(p) {
    pl->sortKeys = slAlloc();
    pl->sortIndex = index;
  }
  ~SortScope() {
    slFree(pl->sortKeys);
    pl->sortKeys = nullptr;
    pl->sortIndex = nullptr;
  }
};

std::wstring wide(const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  std::wstring out(size_t(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), out.data(), n);
  return out;
}

// The locale's sort key of a line's key text (LCMapStringW, LCMAP_SORTKEY):
// two such keys compared byte by byte order as CompareStringW with no flags
// orders their texts, so the locale's work is done once per line and each
// of the many comparisons is a memcmp. An empty text keeps an empty key.
std::string localeSortKey(const std::wstring& text) {
  if (text.empty()) return {};
  // A guess that holds the key of ordinary text, so one call usually does.
  std::string key(text.size() * 8 + 16, '\0');
  int n = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.data(), int(text.size()),
                       reinterpret_cast<LPWSTR>(key.data()), int(key.size()));
  if (n <= 0) {
    n = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.data(), int(text.size()), nullptr, 0);
    if (n <= 0) return {};
    key.assign(size_t(n), '\0');
    n = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, text.data(), int(text.size()),
                     reinterpret_cast<LPWSTR>(key.data()), n);
  }
  key.resize(size_t(n > 0 ? n : 0));
  return key;
}

// Keys of the lines the index names; other lines keep a null key (their
// keys would never be compared, and tag keys cost a file read each).
void buildKeys(PlaylistHandle* pl, const int32_t* index, int32_t count, int32_t mode) {
  int32_t n = lineCount(pl);
  strListInsertNulls(pl->sortKeys, 0, n);
  for (int32_t k = 0; k < count; ++k) {
    int32_t line = index[k];
    if (line < 0 || line >= n || slGet(pl->sortKeys, line)) continue;
    std::string key = localeSortKey(wide(sortKeyOf(pl, line, mode)));
    slSetBuf(pl->sortKeys, line, key.data(), int32_t(key.size()));
  }
}

class KeyedSort {
 public:
  explicit KeyedSort(PlaylistHandle* pl) : pl_(pl), index_(pl->sortIndex), n_(lineCount(pl)) {}

  // Recursing into the smaller part and looping on the larger keeps the
  // stack shallow; the parts are disjoint, so the order is the same.
  void sort(int32_t l, int32_t r) {
    while (l < r) {
      int32_t i = l, j = r, p = (l + r) / 2;
      do {
        while (compare(i, p) < 0) ++i;
        while (compare(j, p) > 0) --j;
        if (i <= j) {
          std::swap(index_[i], index_[j]);
          if (p == i)
            p = j;
          else if (p == j)
            p = i;
          ++i;
          --j;
        }
      } while (i <= j);
      if (j - l < r - i) {
        if (l < j) sort(l, j);
        l = i;
      } else {
        if (i < r) sort(i, r);
        r = j;
      }
    }
  }

 private:
  int compare(int32_t a, int32_t b) const {
    int32_t la = 0, lb = 0;
    auto* ka = static_cast<const unsigned char*>(key(index_[a], la));
    auto* kb = static_cast<const unsigned char*>(key(index_[b], lb));
    if (la == 0 || lb == 0) return (la > 0) - (lb > 0);
    int c = std::memcmp(ka, kb, size_t(la < lb ? la : lb));
    if (c != 0) return c < 0 ? -1 : 1;
    return (la > lb) - (la < lb);
  }
  const void* key(int32_t line, int32_t& length) const {
    length = 0;
    if (line < 0 || line >= n_) return nullptr;
    return slGetBuf(pl_->sortKeys, line, &length);
  }

  PlaylistHandle* pl_;
  int32_t* index_;
  int32_t n_;
};

std::mt19937& shuffleGenerator() {
  thread_local std::mt19937 generator(GetTickCount() ^ (GetCurrentThreadId() << 16) ^ std::random_device{}());
  return generator;
}

void sortIndex(PlaylistHandle* pl, int32_t mode, int32_t* index, int32_t count) {
  if (count == -1) count = lineCount(pl);
  if (!index || count < 2) return;
  int32_t key = mode & 0xFFFF;
  if (key == plSortReverse) {
    for (int32_t i = 0; i < count / 2; ++i) std::swap(index[i], index[count - 1 - i]);
    return;
  }
  if (key == plSortShuffle) {
    std::uniform_int_distribution<int32_t> pick(0, count - 1);
    auto& g = shuffleGenerator();
    for (int32_t k = 0; k < count; ++k) {
      int32_t a = pick(g), b = pick(g);
      std::swap(index[a], index[b]);
    }
    return;
  }
  SortScope scope(pl, index);
  buildKeys(pl, index, count, mode);
  KeyedSort(pl).sort(0, count - 1);
}

void sortLines(PlaylistHandle* pl, int32_t mode, int32_t first, int32_t last) {
  int32_t n = lineCount(pl);
  if (first == -1 || last == -1) {
    first = 0;
    last = n - 1;
  }
  if (first < 0 || last >= n || last - first < 1) return;
  std::vector<int32_t> index;
  for (int32_t i = first; i <= last; ++i) index.push_back(i);
  sortIndex(pl, mode, index.data(), int32_t(index.size()));
  aReorder(pl->lines, index.data(), first, last);
  slReorder(pl->names, index.data(), first, last);
  slReorder(pl->descs, index.data(), first, last);
  slReorder(pl->infos, index.data(), first, last);
}

const char* nameAt(PlaylistHandle* pl, const int32_t* index, int32_t k) {
  return plGetName(pl, index[k]);  // "" for a number that names no line
}

int compareIgnoringCase(const char* a, const char* b) {
  return compareTextIgnoringCase(a, b);
}

void find(PlaylistHandle* pl, const char* name, const int32_t* index, int32_t* lo, int32_t* hi) {
  int32_t first = -1, last = -1;
  int32_t n = lineCount(pl);
  if (name && index && n > 0) {
    int32_t a = 0, b = n - 1;
    while (a < b) {
      int32_t mid = (a + b) / 2;
      if (compareIgnoringCase(name, nameAt(pl, index, mid)) <= 0)
        b = mid;
      else
        a = mid + 1;
    }
    if (sameTextIgnoringCase(nameAt(pl, index, a), name)) {
      first = last = a;
      while (first > 0 && sameTextIgnoringCase(nameAt(pl, index, first - 1), name)) --first;
      while (last < n - 1 && sameTextIgnoringCase(nameAt(pl, index, last + 1), name)) ++last;
    }
  }
  if (lo) *lo = first;
  if (hi) *hi = last;
}

}  // namespace
}  // namespace zv

ZVEXPORT void ZVAPI plSortIndex(Playlist pl, int32_t mode, int32_t* index, int32_t count) {
  zv::guardedVoid("plSortIndex", [&] {
    zv::settleLines(pl);
    if (pl) zv::sortIndex(pl, mode, index, count);
  });
}

ZVEXPORT void ZVAPI plSort(Playlist pl, int32_t mode, int32_t first, int32_t last) {
  zv::guardedVoid("plSort", [&] {
    zv::settleLines(pl);
    if (pl) zv::sortLines(pl, mode, first, last);
  });
}

ZVEXPORT void ZVAPI plFind(Playlist pl, const char* name, const int32_t* index, int32_t* lo, int32_t* hi) {
  zv::guardedVoid("plFind", [&] {
    zv::settleLines(pl);
    zv::find(pl, name, index, lo, hi);
  });
}
