#include "foundation/profile_text.h"

#include <vector>

#include "foundation/text_util.h"

namespace zv {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

std::string_view trimmedBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// One line: where it starts, where its text ends and where the next starts.
struct Line {
  size_t start, end, next;
};

std::vector<Line> linesOf(std::string_view text) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back({start, text.size(), text.size()});
      break;
    }
    size_t next = end + 1;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
    lines.push_back({start, end, next});
    start = next;
  }
  return lines;
}

// The section name of a "[name]" line; nullopt for other lines.
std::optional<std::string_view> sectionName(std::string_view line) {
  line = trimmedBlanks(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  size_t close = line.find(']');
  std::string_view name = line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
  return trimmedBlanks(name);
}

// The key of a line inside a section (the whole line when it has no '=').
std::string_view keyOf(std::string_view line) {
  size_t eq = line.find('=');
  return trimmedBlanks(line.substr(0, eq));
}

// Where `key` of `section` is: the line index of the key (or npos), and of
// the section's last non-blank line (npos when the section is absent).
struct Place {
  size_t keyLine = std::string_view::npos;
  size_t lastLine = std::string_view::npos;
};

Place find(std::string_view text, const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Place place;
  bool inside = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = text.substr(lines[i].start, lines[i].end - lines[i].start);
    if (auto name = sectionName(line)) {
      if (inside) return place;  // the first section of that name decides
      inside = sameAsciiIgnoringCase(*name, section);
      if (inside) place.lastLine = i;
      continue;
    }
    if (!inside || trimmedBlanks(line).empty()) continue;
    place.lastLine = i;
    if (sameAsciiIgnoringCase(keyOf(line), key)) {
      place.keyLine = i;
      return place;
    }
  }
  return place;
}

}  // namespace

bool isWideProfileText(std::string_view text) {
  return text.size() >= 2 && ((text[0] == '\xFF' && text[1] == '\xFE') || (text[0] == '\xFE' && text[1] == '\xFF'));
}

std::optional<std::string> profileValue(std::string_view text, std::string_view section, std::string_view key) {
  if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) text.remove_prefix(kUtf8Mark.size());
  std::vector<Line> lines = linesOf(text);
  Place place = find(text, lines, trimmedBlanks(section), trimmedBlanks(key));
  if (place.keyLine == std::string_view::npos) return std::nullopt;
  std::string_view line = text.substr(lines[place.keyLine].start, lines[place.keyLine].end - lines[place.keyLine].start);
  size_t eq = line.find('=');
  return std::string(eq == std::string_view::npos ? std::string_view() : trimmedBlanks(line.substr(eq + 1)));
}

std::string profileValueAsRead(std::string_view text, std::string_view section, std::string_view key, size_t size) {
  std::string v = profileValue(text, section, key).value_or("");
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) v = v.substr(1, v.size() - 2);
  std::string cut(size, '\0');
  copyBounded(cut.data(), size, v);
  return std::string(cut.c_str());
}

std::string withProfileValue(std::string_view text, std::string_view section, std::string_view key,
                             std::string_view value) {
  section = trimmedBlanks(section);
  key = trimmedBlanks(key);
  if (section.find_first_of("]\r\n") != std::string_view::npos || key.empty() ||
      key.find_first_of("=\r\n") != std::string_view::npos || key.front() == '[')
    return std::string(text);
  value = value.substr(0, value.find_first_of("\r\n"));

  std::string out;
  if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
    out.append(kUtf8Mark);
    text.remove_prefix(kUtf8Mark.size());
  }
  std::vector<Line> lines = linesOf(text);
  Place place = find(text, lines, section, key);
  std::string keyLine = std::string(key) + "=" + std::string(value);
  if (place.keyLine != std::string_view::npos) {
    const Line& l = lines[place.keyLine];
    out.append(text.substr(0, l.start)).append(keyLine).append(text.substr(l.end));
  } else if (place.lastLine != std::string_view::npos) {
    const Line& l = lines[place.lastLine];
    bool ended = l.next > l.end;  // the section's last line has its line break
    out.append(text.substr(0, l.next));
    if (!ended) out.append("\r\n");
    out.append(keyLine).append("\r\n").append(text.substr(l.next));
  } else {
    out.append(text);
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') out.append("\r\n");
    out.append("[").append(section).append("]\r\n").append(keyLine).append("\r\n");
  }
  return out;
}

}  // namespace zv
