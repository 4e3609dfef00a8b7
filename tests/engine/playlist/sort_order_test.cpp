// plSortIndex orders by locale sort keys made once per line and compared
// byte by byte. These hold it to the previous rule, kept here as the
// reference: the same quicksort comparing the key texts with CompareStringW
// at every step. Names are chosen where the locale's rules are subtle
// (accents, case, ligatures, hyphens and apostrophes that word sorting
// weighs apart, ignorable characters, digits) and repeated so that ties,
// which decide how the quicksort leaves equal keys, are many.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "files_fixture.h"
#include "zv_playlist.h"

using pltest::OwnedPl;

namespace {

// In code page 1252.
const std::vector<std::string> kStems = {
    "arger", "\xC4rger", "\xE4rger", "Arger", "co-op", "coop", "co op", "Co-Op", "it's", "its", "it\x92s", "\xC6on",
    "aeon", "AEon", "\xE6on", "stra\xDF" "e", "strasse", "STRASSE", "10 a", "9 a", "09 a", "a\x01" "b", "ab", "-", "'",
    "", " ", "\x8C" "uvre", "oeuvre", "\x9C" "uvre", "\x8A" "ar", "\x9A" "ar", "sar", "caf\xE9", "cafe", "CAF\xC9",
    "ni\xF1o", "nino", "a\xAD" "b", "a\xA0" "b", "x\xB9", "x1", "x\xB2", "\xBD", "a\x96" "b", "a\x97" "b", "a_b", "a.b",
    "A", "a", "\xC0", "\xE0", "zz", "Z"};

std::wstring wide(const std::string& text) {
  std::wstring out(text.size() * 2 + 1, L'\0');
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), out.data(), int(out.size()));
  out.resize(size_t(n > 0 ? n : 0));
  return out;
}

int previousCompare(const std::wstring& a, const std::wstring& b) {
  if (a.empty() || b.empty()) return int(!a.empty()) - int(!b.empty());
  return CompareStringW(LOCALE_USER_DEFAULT, 0, a.data(), int(a.size()), b.data(), int(b.size())) - CSTR_EQUAL;
}

std::string sortKey(const std::wstring& w) {
  if (w.empty()) return {};
  int n = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, w.data(), int(w.size()), nullptr, 0);
  std::string key(size_t(n), '\0');
  LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY, w.data(), int(w.size()), reinterpret_cast<LPWSTR>(key.data()), n);
  return key;
}

int sign(int v) { return (v > 0) - (v < 0); }

// The quicksort plSortIndex has always used, comparing with `compare`.
template <class Compare>
void referenceSort(std::vector<int32_t>& index, int32_t l, int32_t r, Compare compare) {
  while (l < r) {
    int32_t i = l, j = r, p = (l + r) / 2;
    do {
      while (compare(index[i], index[p]) < 0) ++i;
      while (compare(index[j], index[p]) > 0) --j;
      if (i <= j) {
        std::swap(index[i], index[j]);
        if (p == i)
          p = j;
        else if (p == j)
          p = i;
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - l < r - i) {
      if (l < j) referenceSort(index, l, j, compare);
      l = i;
    } else {
      if (i < r) referenceSort(index, i, r, compare);
      r = j;
    }
  }
}

std::string lower(std::string s) {
  if (!s.empty()) CharLowerBuffA(s.data(), DWORD(s.size()));
  return s;
}

}  // namespace

TEST(SortOrder, sortKeysCompareAsTheLocaleComparesTheirTexts) {
  std::vector<std::wstring> texts;
  for (const std::string& a : kStems) {
    texts.push_back(wide(a));
    texts.push_back(wide(lower(a) + " " + a));
  }
  for (const std::wstring& a : texts)
    for (const std::wstring& b : texts) {
      if (a.empty() || b.empty()) continue;
      std::string ka = sortKey(a), kb = sortKey(b);
      int bytes = std::memcmp(ka.data(), kb.data(), std::min(ka.size(), kb.size()));
      if (bytes == 0) bytes = int(ka.size() > kb.size()) - int(ka.size() < kb.size());
      ASSERT_EQ(sign(bytes), sign(previousCompare(a, b)))
          << std::string(a.begin(), a.end()) << " | " << std::string(b.begin(), b.end());
    }
}

TEST(SortOrder, plSortIndexGivesThePreviousOrderByFileAndFullName) {
  // Every stem in several folders and with several titles, shuffled: many
  // lines share a key.
  OwnedPl pl;
  std::vector<std::string> names, descs;
  for (int round = 0; round < 6; ++round)
    for (size_t s = 0; s < kStems.size(); ++s) {
      names.push_back("C:\\" + std::string(round % 2 ? "Music" : "m\xFCsic") + "\\" + kStems[(s * 7 + round) % kStems.size()] +
                      ".mp3");
      descs.push_back(round % 3 == 0 ? std::string() : kStems[(s * 5 + round) % kStems.size()]);
    }
  for (size_t i = 0; i < names.size(); ++i) {
    PlaylistLine r = {};
    plAddLine(pl, &r, names[i].c_str(), descs[i].c_str(), nullptr);
  }
  for (int32_t mode : {int32_t(plSortFileName), int32_t(plSortFullName)}) {
    std::vector<std::wstring> keys;
    for (size_t i = 0; i < names.size(); ++i) {
      std::string name = mode == plSortFileName ? names[i].substr(names[i].rfind('\\') + 1) : names[i];
      keys.push_back(wide(lower(name + " " + descs[i])));
    }
    std::vector<int32_t> expected(names.size()), actual;
    std::iota(expected.begin(), expected.end(), 0);
    std::rotate(expected.begin(), expected.begin() + 17, expected.end());
    actual = expected;
    referenceSort(expected, 0, int32_t(expected.size()) - 1,
                  [&](int32_t a, int32_t b) { return previousCompare(keys[size_t(a)], keys[size_t(b)]); });
    plSortIndex(pl, mode, actual.data(), int32_t(actual.size()));
    EXPECT_EQ(actual, expected) << "mode " << mode;
  }
}
