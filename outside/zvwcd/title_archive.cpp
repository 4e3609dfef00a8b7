// Looking discs up in a local xmcd archive. freedb dumps keep one file per
// disc, named by the lower-case disc id, in one folder per category; the
// same id may appear in several categories for different discs, so the
// track offsets decide.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "win32/owners.h"
#include "zvwcd.h"

namespace {

constexpr int kMaxTracks = 256;

struct Query {
  std::vector<long> offsets;
  long leadOut = 0;
};

struct ArchiveDisc {
  std::vector<long> offsets;
  std::string discTitle;
  std::vector<std::string> titles = std::vector<std::string>(kMaxTracks);
};

bool parseQuery(const char* text, Query& q) {
  if (!text || std::strncmp(text, "cd=", 3) != 0) return false;
  char* end = nullptr;
  long count = std::strtol(text + 3, &end, 16);
  if (count <= 0 || count > kMaxTracks) return false;
  for (long i = 0; i <= count; ++i) {
    if (*end != '+') return false;
    long value = std::strtol(end + 1, &end, 16);
    if (i < count) q.offsets.push_back(value);
    else q.leadOut = value;
  }
  return true;
}

uint32_t discId(const Query& q) {
  uint32_t n = 0;
  for (long start : q.offsets)
    for (long s = start / 75; s > 0; s /= 10) n += uint32_t(s % 10);
  uint32_t t = uint32_t(q.leadOut / 75 - q.offsets[0] / 75);
  return ((n % 255) << 24) | ((t & 0xFFFF) << 8) | uint32_t(q.offsets.size() & 0xFF);
}

std::string moduleFolder() {
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&moduleFolder), &self);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(self, path, MAX_PATH);
  if (char* slash = std::strrchr(path, '\\')) *slash = 0;
  return path;
}

std::string archiveFolder() {
  std::string here = moduleFolder();
  char folder[MAX_PATH] = {};
  GetPrivateProfileStringA("archive", "folder", "", folder, MAX_PATH, (here + "\\zvwcd.ini").c_str());
  return *folder ? folder : here + "\\freedb";
}

bool readText(const std::string& path, std::string& out) {
  zv::UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!f) return false;
  LARGE_INTEGER size = {};
  bool ok = GetFileSizeEx(f.get(), &size) && size.QuadPart < (16 << 20);
  DWORD got = 0;
  if (ok) {
    out.resize(size_t(size.QuadPart));
    ok = out.empty() || (ReadFile(f.get(), out.data(), DWORD(out.size()), &got, nullptr) && got == out.size());
  }
  return ok;
}

std::string trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
  return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

// Newer dumps are UTF-8, older ones Latin-1; the engine speaks the active
// code page. Text that is not valid UTF-8 is kept as it is.
std::string toActiveCodePage(const std::string& text) {
  bool ascii = true;
  for (unsigned char c : text) ascii = ascii && c < 0x80;
  if (ascii) return text;
  int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), int(text.size()), nullptr, 0);
  if (wide <= 0) return text;
  std::wstring w(size_t(wide), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), w.data(), wide);
  int n = WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n > 0 ? n : 0), '\0');
  WideCharToMultiByte(CP_ACP, 0, w.data(), wide, out.data(), n, nullptr, nullptr);
  return out;
}

ArchiveDisc parseDisc(const std::string& text) {
  ArchiveDisc disc;
  bool offsetList = false;
  std::string lastKey;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    std::string raw = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
    at = end == std::string::npos ? text.size() : end + 1;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    std::string line = trim(raw);
    if (line.empty()) continue;
    if (line[0] == '#') {
      std::string rest = trim(line.substr(1));
      lastKey.clear();
      if (_stricmp(rest.c_str(), "Track frame offsets:") == 0) offsetList = true;
      else if (offsetList && !rest.empty() && rest.find_first_not_of("0123456789") == std::string::npos)
        disc.offsets.push_back(std::atol(rest.c_str()));
      else offsetList = false;
      continue;
    }
    // Values continued on the next line are joined untrimmed: the split may
    // fall on a space.
    size_t eq = raw.find('=');
    if (eq == std::string::npos) continue;
    std::string key = trim(raw.substr(0, eq)), value = raw.substr(eq + 1);
    for (char& c : key) c = char(toupper(static_cast<unsigned char>(c)));
    bool continues = key == lastKey;  // a repeated key continues a long value
    lastKey = key;
    if (key == "DTITLE") {
      disc.discTitle = continues ? disc.discTitle + value : value;
    } else if (key.rfind("TTITLE", 0) == 0) {
      long n = std::atol(key.c_str() + 6);
      if (n < 0 || n >= kMaxTracks) continue;
      disc.titles[n] = continues ? disc.titles[n] + value : value;
    }
  }
  disc.discTitle = trim(disc.discTitle);
  for (std::string& t : disc.titles) t = trim(t);
  return disc;
}

std::vector<std::string> candidates(const std::string& folder, uint32_t id) {
  char lower[16], upper[16];
  std::snprintf(lower, sizeof(lower), "%08x", id);
  std::snprintf(upper, sizeof(upper), "%08X.cdb", id);
  std::vector<std::string> found;
  for (const std::string& path : {folder + "\\" + lower, folder + "\\" + upper})
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) found.push_back(path);
  WIN32_FIND_DATAA data;
  zv::UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &data));
  if (!find) return found;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || data.cFileName[0] == '.') continue;
    std::string path = folder + "\\" + data.cFileName + "\\" + lower;
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) found.push_back(path);
  } while (FindNextFileA(find.get(), &data));
  return found;
}

void copyOut(char* out, const std::string& text) {
  size_t n = text.size() < 511 ? text.size() : 511;
  std::memcpy(out, text.data(), n);
  out[n] = 0;
}

void setTrackTitles(const ArchiveDisc& disc, size_t count, char** trackTitles) {
  HMODULE engine = GetModuleHandleA("zvengine.dll");
  if (!engine || !trackTitles) return;
  using StrAlloc = char*(__stdcall*)(const char*);
  using Free = void(__stdcall*)(void*);
  auto strAlloc = reinterpret_cast<StrAlloc>(reinterpret_cast<void*>(GetProcAddress(engine, "_stralloc")));
  auto free = reinterpret_cast<Free>(reinterpret_cast<void*>(GetProcAddress(engine, "_mfree")));
  if (!strAlloc || !free) return;
  for (size_t i = 0; i < count && i < size_t(kMaxTracks); ++i) {
    if (disc.titles[i].empty()) continue;
    free(trackTitles[i]);
    trackTitles[i] = strAlloc(toActiveCodePage(disc.titles[i]).c_str());
  }
}

}  // namespace

extern "C" int32_t __stdcall get(const char* query, char* artist, char* title, char** trackTitles) {
  try {
    Query q;
    if (!parseQuery(query, q)) return 0;
    std::vector<std::string> files = candidates(archiveFolder(), discId(q));
    ArchiveDisc chosen;
    bool found = false;
    for (const std::string& path : files) {
      std::string text;
      if (!readText(path, text)) continue;
      ArchiveDisc disc = parseDisc(text);
      bool exact = disc.offsets == q.offsets;
      if (exact || (!found && (disc.offsets.empty() || disc.offsets.size() == q.offsets.size()))) {
        chosen = std::move(disc);
        found = true;
      }
      if (exact) break;
    }
    if (!found) return 0;
    std::string dtitle = toActiveCodePage(chosen.discTitle);
    size_t split = dtitle.find(" / ");
    if (artist) copyOut(artist, split == std::string::npos ? "" : dtitle.substr(0, split));
    if (title) copyOut(title, split == std::string::npos ? dtitle : dtitle.substr(split + 3));
    setTrackTitles(chosen, q.offsets.size(), trackTitles);
    return 1;
  } catch (...) {
    return 0;
  }
}
