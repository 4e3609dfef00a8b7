#include "foundation/config_store.h"

#include <windows.h>

#include <mutex>
#include <optional>
#include <vector>

#include "foundation/diagnostics.h"
#include "foundation/file_replace.h"
#include "foundation/host_paths.h"
#include "foundation/legacy_text.h"
#include "foundation/profile_text.h"
#include "foundation/standard_dirs.h"
#include "foundation/text_util.h"
#include "win32/owners.h"
#include "zv_config.h"

namespace zv {
namespace {

constexpr const char* kRootKey = "Software\\Dovrik\\ZvEngine";
// The private-profile reader's limit: values up to 1023 characters.
constexpr DWORD kProfileValueSize = 1024;
// Engine callers pass buffers of MAX_PATH bytes to configString.
constexpr size_t kCallerBufferSize = 260;

// The store has no lock of its own in use (one writer, before the readers
// start), but the section text is copied under this one so that a reader on
// another thread never sees a string being replaced.
std::mutex g_stateLock;
bool g_fileMode = false;
std::string g_section;
std::string g_configFile;

struct Target {
  bool fileMode;
  std::string section;
  std::string configFile;
};

Target currentTarget() {
  std::lock_guard<std::mutex> hold(g_stateLock);
  return {g_fileMode, g_section, g_configFile};
}

std::string sectionKey(const std::string& section) {
  return section.empty() ? std::string(kRootKey) : std::string(kRootKey) + "\\" + section;
}

std::string recordFile(const char* name) { return userDirectory() + "\\" + name + ".dat"; }

// Registry backing -----------------------------------------------------------

bool registryString(const std::string& section, const char* name, std::string& out) {
  UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, sectionKey(section).c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
    return false;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  std::vector<char> data(size + 1);
  if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS)
    return false;
  data[size] = '\0';
  out.assign(data.data());  // stops at the stored terminator
  return true;
}

UniqueRegKey createSectionKey(const std::string& section, REGSAM access) {
  UniqueRegKey key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, sectionKey(section).c_str(), 0, nullptr, 0, access, nullptr, key.put(),
                      nullptr) != ERROR_SUCCESS)
    key.reset();
  return key;
}

// File backing ---------------------------------------------------------------

bool readConfigFile(const std::string& path, std::string& out);

// Under the UTF-8 active code page the system's reader decodes the whole
// file as UTF-8, so a value written before in the legacy code page would
// come back as replacement characters: the file is read here and such a
// value converted (the next write stores it in UTF-8). A UTF-16 file is
// left to the system's reader; nullopt then.
std::optional<bool> utf8ProfileString(const Target& t, const char* name, std::string& out) {
  std::string text;
  if (!readConfigFile(t.configFile, text) || isWideProfileText(text)) return std::nullopt;
  std::string_view body(text);
  if (hasUtf8Mark(body)) body.remove_prefix(3);
  std::optional<std::string> value = profileValue(body, t.section, name);
  if (!value) return false;
  std::string v = storedTextToActive(*value);
  // The system's reader drops one pair of quotes around a value and cuts it
  // to its buffer.
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
  char cut[kProfileValueSize];
  copyBounded(cut, sizeof(cut), v);
  out.assign(cut);
  return true;
}

bool profileString(const Target& t, const char* name, std::string& out) {
  if (GetACP() == CP_UTF8)
    if (std::optional<bool> found = utf8ProfileString(t, name, out)) return *found;
  char value[kProfileValueSize];
  GetPrivateProfileStringA(t.section.c_str(), name, "", value, kProfileValueSize, t.configFile.c_str());
  if (value[0] == '\0') {
    // Empty: either stored empty or missing. The reader cannot return a
    // one-character default for a present value, so ask again with one.
    GetPrivateProfileStringA(t.section.c_str(), name, "\x01", value, kProfileValueSize, t.configFile.c_str());
    if (value[0] == '\x01' && value[1] == '\0') return false;
  }
  out.assign(value);
  return true;
}

bool readValue(const char* name, std::string& out) {
  if (!name) return false;
  Target t = currentTarget();
  return t.fileMode ? profileString(t, name, out) : registryString(t.section, name, out);
}

// The whole configuration file; "" for a file that does not exist, false
// for one that exists but cannot be read (it must not be overwritten).
bool readConfigFile(const std::string& path, std::string& out) {
  out.clear();
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return GetLastError() == ERROR_FILE_NOT_FOUND;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > (64 << 20)) return false;
  out.resize(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  if (!out.empty() && (!ReadFile(file.get(), out.data(), static_cast<DWORD>(out.size()), &got, nullptr) ||
                       got != out.size()))
    return false;
  return true;
}

// The system's private-profile writer rewrites the file in place: a process
// that dies meanwhile leaves it cut short, every setting lost. The new text
// goes to a temporary file that replaces the old one when complete. A
// UTF-16 file is left to the system's writer, which understands it.
void writeProfileValue(const Target& t, const char* name, const char* value) {
  std::string text;
  if (!readConfigFile(t.configFile, text)) return;
  if (isWideProfileText(text)) {
    WritePrivateProfileStringA(t.section.c_str(), name, value, t.configFile.c_str());
    return;
  }
  std::string changed = withProfileValue(text, t.section, name, value);
  if (changed != text) replaceFileContent(t.configFile, changed.data(), changed.size());
}

void writeValue(const char* name, const char* value) {
  if (!name) return;
  if (!value) value = "";  // a null value would delete the key from the file
  Target t = currentTarget();
  if (t.fileMode) {
    writeProfileValue(t, name, value);
    return;
  }
  UniqueRegKey key = createSectionKey(t.section, KEY_SET_VALUE);
  if (key)
    RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   static_cast<DWORD>(strlen(value) + 1));
}

// Records: only a stored record of exactly the asked length counts, so a
// record whose layout changed between versions is ignored, not misread. The
// caller's buffer is written only on success.
bool readRecord(const char* name, void* buffer, int32_t length) {
  if (!name || !buffer || length < 0) return false;
  Target t = currentTarget();
  std::vector<char> data(static_cast<size_t>(length) + 1);
  if (!t.fileMode) {
    UniqueRegKey key = createSectionKey(t.section, KEY_QUERY_VALUE);
    if (!key) return false;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    if ((type != REG_BINARY && type != REG_NONE) || size != static_cast<DWORD>(length)) return false;
    if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
            ERROR_SUCCESS ||
        size != static_cast<DWORD>(length))
      return false;
  } else {
    UniqueFile file(CreateFileA(recordFile(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart != length) return false;
    DWORD got = 0;
    if (length > 0 && (!ReadFile(file.get(), data.data(), static_cast<DWORD>(length), &got, nullptr) ||
                       got != static_cast<DWORD>(length)))
      return false;
  }
  if (length > 0) memcpy(buffer, data.data(), static_cast<size_t>(length));
  return true;
}

void writeRecord(const char* name, const void* data, int32_t length) {
  if (!name || length < 0 || (!data && length > 0)) return;
  Target t = currentTarget();
  if (t.fileMode) {
    // Written beside the record and moved over it when complete: a crash or
    // a full disk leaves the previous record instead of an empty file.
    replaceFileContent(recordFile(name), data, static_cast<size_t>(length));
    return;
  }
  UniqueRegKey key = createSectionKey(t.section, KEY_SET_VALUE);
  if (key) RegSetValueExA(key.get(), name, 0, REG_BINARY, static_cast<const BYTE*>(data), static_cast<DWORD>(length));
}

bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
uint32_t hexValue(char c) {
  return c <= '9' ? static_cast<uint32_t>(c - '0') : static_cast<uint32_t>((c | 0x20) - 'a' + 10);
}

}  // namespace

int32_t parseConfigInt(std::string_view text, int32_t def) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    uint64_t value = 0;
    for (char c : text.substr(2)) {
      if (!isHexDigit(c)) return def;
      value = value * 16 + hexValue(c);
      if (value > 0xFFFFFFFFull) return def;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
  }
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return def;
  int64_t value = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return def;
    value = value * 10 + (c - '0');
    if (value > 2147483648ll) return def;
  }
  if (negative) value = -value;
  if (value > INT32_MAX || value < INT32_MIN) return def;
  return static_cast<int32_t>(value);
}

std::string configText(const char* name, std::string_view def) {
  try {
    std::string value;
    if (readValue(name, value)) return value;
  } catch (...) {
    // any failure reads as the default
  }
  return std::string(def);
}

bool startConfigStore() {
  std::string section = fileNamePart(hostExecutablePath());
  std::string configFile = userDirectory() + "\\config.dat";
  std::lock_guard<std::mutex> hold(g_stateLock);
  g_fileMode = false;
  g_section = std::move(section);
  g_configFile = std::move(configFile);
  return true;
}

void stopConfigStore(bool) {
  std::lock_guard<std::mutex> hold(g_stateLock);
  g_section.clear();
  g_section.shrink_to_fit();
  g_configFile.clear();
  g_configFile.shrink_to_fit();
}

}  // namespace zv

using zv::guarded;
using zv::guardedVoid;

ZVEXPORT void ZVAPI configString(const char* name, char* buffer, const char* def) {
  if (!buffer) return;
  // Callers often pass their buffer as the default too: read both first.
  std::string value = def ? def : "";
  guardedVoid("configString", [&] { value = zv::configText(name, value); });
  zv::copyBounded(buffer, zv::kCallerBufferSize, value);
}

ZVEXPORT void ZVAPI setConfigString(const char* name, const char* value) {
  guardedVoid("setConfigString", [&] { zv::writeValue(name, value); });
}

ZVEXPORT int32_t ZVAPI configInt(const char* name, int32_t def) {
  return guarded("configInt", def, [&] { return zv::parseConfigInt(zv::configText(name, ""), def); });
}

ZVEXPORT void ZVAPI setConfigInt(const char* name, int32_t value) {
  guardedVoid("setConfigInt", [&] { zv::writeValue(name, std::to_string(value).c_str()); });
}

ZVEXPORT ZvBool ZVAPI configBool(const char* name, ZvBool def) {
  return configInt(name, def ? 1 : 0) != 0 ? ZV_TRUE : ZV_FALSE;
}

ZVEXPORT void ZVAPI setConfigBool(const char* name, ZvBool value) {
  guardedVoid("setConfigBool", [&] { zv::writeValue(name, value ? "1" : "0"); });
}

ZVEXPORT ZvBool ZVAPI configRec(const char* name, void* buffer, int32_t length) {
  return guarded("configRec", ZV_FALSE,
                 [&] { return zv::readRecord(name, buffer, length) ? ZV_TRUE : ZV_FALSE; });
}

ZVEXPORT void ZVAPI setConfigRec(const char* name, const void* data, int32_t length) {
  guardedVoid("setConfigRec", [&] { zv::writeRecord(name, data, length); });
}

ZVEXPORT int32_t ZVAPI setConfigMode(const char* section, int32_t mode) {
  return guarded("setConfigMode", 0, [&] {
    std::lock_guard<std::mutex> hold(zv::g_stateLock);
    zv::g_section = section ? section : "";
    zv::g_fileMode = mode != 0;
    return zv::g_fileMode ? 1 : 0;
  });
}
