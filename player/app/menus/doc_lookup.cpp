#include "menus/doc_lookup.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

#include "win32/owners.h"

namespace zv {
namespace {

bool isFile(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string firstLine(const std::string& path) {
  UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!f) return "";
  char buffer[MAX_PATH + 2] = {};
  DWORD got = 0;
  if (!ReadFile(f.get(), buffer, MAX_PATH + 1, &got, nullptr)) return "";
  std::string text(buffer, got);
  text = text.substr(0, text.find_first_of("\r\n"));
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
  return text;
}

std::optional<std::string> lookIn(const std::string& folder, const std::string& file) {
  std::string path = folder + file;
  if (isFile(path + ".link")) {
    std::string target = firstLine(path + ".link");
    if (!target.empty() && isFile(folder + target)) return folder + target;
  }
  if (isFile(path)) return path;
  return std::nullopt;
}

}  // namespace

std::optional<std::string> findDocument(const std::string& rootDir, const std::string& language,
                                        const std::string& file) {
  // A name that leaves the folder is no document of ours.
  if (file.empty() || file.find("..") != std::string::npos || file.find(':') != std::string::npos) return std::nullopt;
  if (!language.empty())
    if (auto found = lookIn(rootDir + "\\doc\\" + language + "\\", file)) return found;
  return lookIn(rootDir + "\\doc\\en\\", file);
}

std::optional<std::string> findOwnDocument(const std::string& rootDir, const std::string& language,
                                           const std::string& file) {
  if (file.empty() || file.find("..") != std::string::npos || file.find(':') != std::string::npos) return std::nullopt;
  if (language.empty() || language.find_first_of("\\/.:") != std::string::npos) return std::nullopt;
  return lookIn(rootDir + "\\doc\\" + language + "\\", file);
}

std::vector<std::string> helpCandidates(const std::string& rootDir, const std::string& language) {
  std::vector<std::string> found;
  auto add = [&](const std::optional<std::string>& path) {
    if (path && std::find(found.begin(), found.end(), *path) == found.end()) found.push_back(*path);
  };
  // A translated first page is worth more than the English help file.
  for (const std::string& lang : {language, std::string("en")}) {
    add(findOwnDocument(rootDir, lang, "zorvak.chm"));
    add(findOwnDocument(rootDir, lang, "main.html"));
  }
  return found;
}

std::string missingDocumentMessage(const std::string& file) {
  std::string upper = file;
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper + " not found";
}

}  // namespace zv
