#include "skin_text.h"

#include <algorithm>
#include <cstdint>

namespace zv::ui {

std::string_view trimSkin(std::string_view text) {
  // Blanks and control characters at either end, as the language's trim.
  size_t begin = 0, end = text.size();
  while (begin < end && static_cast<unsigned char>(text[begin]) <= ' ') ++begin;
  while (end > begin && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
  return text.substr(begin, end - begin);
}

std::string toLowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && toLowerAscii(a) == toLowerAscii(b);
}

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The integer of a number text without its far-edge mark; nothing when the
// text is not a number or does not fit in 32 bits.
std::optional<int64_t> parseInteger(std::string_view text) {
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  if (text[0] == '#' || text[0] == '$' || (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))) {
    text.remove_prefix(text[0] == '0' ? 2 : 1);
    if (text.empty() || text.size() > 8) return std::nullopt;
    for (char c : text) {
      int d = hexDigit(c);
      if (d < 0) return std::nullopt;
      value = value * 16 + d;
    }
    return value;
  }
  bool negative = false;
  if (text[0] == '-' || text[0] == '+') {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 10) return std::nullopt;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > 0x7fffffff) return std::nullopt;
  return negative ? -value : value;
}

}  // namespace

SkinNumber parseSkinNumber(std::string_view text) {
  SkinNumber number;
  text = trimSkin(text);
  if (!text.empty() && text[0] == '!') {
    number.farEdge = true;
    text = trimSkin(text.substr(1));
  }
  if (auto value = parseInteger(text))
    number.value = static_cast<int>(std::clamp<int64_t>(*value, -kSkinCoordLimit, kSkinCoordLimit));
  return number;
}

COLORREF parseSkinColor(std::string_view text) {
  text = trimSkin(text);
  if (!text.empty() && (text[0] == '#' || text[0] == '$')) text.remove_prefix(1);
  else if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.remove_prefix(2);
  uint32_t rgb = 0;
  if (text.empty() || text.size() > 8) return 0;
  for (char c : text) {
    int d = hexDigit(c);
    if (d < 0) return 0;
    rgb = rgb * 16 + static_cast<uint32_t>(d);
  }
  rgb &= 0xffffffu;
  return RGB((rgb >> 16) & 0xff, (rgb >> 8) & 0xff, rgb & 0xff);
}

std::vector<std::string> splitSkinWords(std::string_view text) {
  std::vector<std::string> words;
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    while (i < n && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    if (i >= n) break;
    std::string word;
    if (text[i] == '"') {
      ++i;
      while (i < n) {
        if (text[i] == '"') {
          if (i + 1 < n && text[i + 1] == '"') {
            word += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        word += text[i++];
      }
    } else {
      while (i < n && static_cast<unsigned char>(text[i]) > ' ') word += text[i++];
    }
    words.push_back(std::move(word));
  }
  return words;
}

bool splitSkinAttribute(std::string_view line, std::string& key, std::string& value) {
  size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = std::string(trimSkin(line.substr(0, eq)));
  value = std::string(trimSkin(line.substr(eq + 1)));
  return true;
}

std::string skinFolderOf(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

namespace {

// A path in one spelling for the include cycle check: lower case, back
// slashes, "." and ".." folded.
std::string includeKey(const std::string& path) {
  std::string lower = toLowerAscii(path);
  std::replace(lower.begin(), lower.end(), '/', '\\');
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= lower.size()) {
    size_t end = lower.find('\\', start);
    if (end == std::string::npos) end = lower.size();
    std::string part = lower.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty() && !parts.back().empty()) parts.pop_back();
    } else if (part != "." && !(part.empty() && !parts.empty())) {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string key;
  for (const auto& p : parts) key += p + "\\";
  return key;
}

class LineReader {
 public:
  LineReader(const SkinFileReader& reader, SkinLines& out) : reader_(reader), out_(out) {}

  bool readFile(const std::string& path, int depth) {
    if (depth > kSkinIncludeDepth) {
      out_.problems.push_back("include too deep: " + path);
      return false;
    }
    std::string key = includeKey(path);
    if (std::find(stack_.begin(), stack_.end(), key) != stack_.end()) {
      out_.problems.push_back("include cycle: " + path);
      return false;
    }
    std::optional<std::string> content = reader_(path);
    if (!content) {
      out_.problems.push_back("cannot read: " + path);
      return false;
    }
    if (content->size() > kSkinFileLimit) {
      out_.problems.push_back("file too large: " + path);
      return false;
    }
    stack_.push_back(key);
    readContent(*content, skinFolderOf(path), depth);
    stack_.pop_back();
    return true;
  }

 private:
  static std::vector<std::string_view> physicalLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find_first_of("\r\n", start);
      if (end == std::string_view::npos) end = text.size();
      lines.push_back(text.substr(start, end - start));
      if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++end;
      start = end + 1;
    }
    return lines;
  }

  void add(std::string line) {
    if (out_.lines.size() >= kSkinLineLimit) {
      if (!limitHit_) out_.problems.push_back("too many lines");
      limitHit_ = true;
      return;
    }
    out_.lines.push_back(std::move(line));
  }

  void readContent(const std::string& content, const std::string& folder, int depth) {
    std::vector<std::string_view> lines = physicalLines(content);
    for (size_t i = 0; i < lines.size() && !limitHit_; ++i) {
      std::string_view line = trimSkin(lines[i]);
      if (line.substr(0, 4) == "INC:") {
        std::string name(trimSkin(line.substr(4)));
        if (!name.empty()) readFile(folder + name, depth + 1);
        continue;
      }
      // Continuations: every physical line that ends in "\" carries on
      // into the next; past the length limit the rest is read and dropped.
      std::string logical(line);
      bool more = !logical.empty() && logical.back() == '\\';
      if (more) logical.pop_back();
      while (more && i + 1 < lines.size()) {
        std::string_view next = trimSkin(lines[++i]);
        more = !next.empty() && next.back() == '\\';
        if (more) next.remove_suffix(1);
        while (!logical.empty() && static_cast<unsigned char>(logical.back()) <= ' ') logical.pop_back();
        if (logical.size() + 1 + next.size() <= kSkinLogicalLineLimit) {
          logical += ' ';
          logical += next;
        }
      }
      add(std::string(trimSkin(logical)));
    }
  }

  const SkinFileReader& reader_;
  SkinLines& out_;
  std::vector<std::string> stack_;
  bool limitHit_ = false;
};

}  // namespace

SkinLines readSkinLines(const std::string& path, const SkinFileReader& reader) {
  SkinLines out;
  LineReader lineReader(reader, out);
  out.fileRead = lineReader.readFile(path, 0);
  return out;
}

}  // namespace zv::ui
