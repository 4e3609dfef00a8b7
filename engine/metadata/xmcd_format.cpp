// xmcd reading and writing. Real database files are looser than the ones we
// write: keys repeat to continue a long value, comments vary, lines end in
// CR LF or LF, and titles carry bytes of any code page, so the reader keeps
// bytes as they are and skips what it does not know.
#include "metadata/xmcd_format.h"

#include <algorithm>
#include <cstdio>

#include "foundation/text_util.h"

namespace zv {
namespace {

constexpr size_t kChunk = 61;  // escaped characters per EXTD / EXTT line

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool startsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if ((s[i] | 0x20) != (prefix[i] | 0x20)) return false;
  return true;
}

bool equalsNoCase(std::string_view a, std::string_view b) { return a.size() == b.size() && startsWithNoCase(a, b); }

// A leading decimal number with an optional sign; 0 when there is none.
int32_t leadingInt(std::string_view s) {
  s = trim(s);
  bool negative = !s.empty() && s.front() == '-';
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) s.remove_prefix(1);
  int64_t n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') break;
    n = std::min<int64_t>(n * 10 + (c - '0'), INT32_MAX);
  }
  return static_cast<int32_t>(negative ? -n : n);
}

// True when the whole text is a non-negative decimal number.
bool wholeNumber(std::string_view s, int32_t& value) {
  if (s.empty() || s.size() > 9) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  value = leadingInt(s);
  return true;
}

class Reader {
 public:
  XmcdEntry entry;

  Reader() {
    entry.trackTitles.resize(ZV_CDDB_MAX_TRACKS);
    entry.extendedTracks.resize(ZV_CDDB_MAX_TRACKS);
  }

  void line(std::string_view raw) {
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);  // the line end only
    std::string_view text = trim(raw);
    if (text.empty()) return;
    if (text.front() == '#') {
      comment(trim(text.substr(1)));
      lastKey_.clear();
      return;
    }
    size_t eq = raw.find('=');
    if (eq == std::string_view::npos) return;
    std::string key = asciiLower(trim(raw.substr(0, eq)));
    std::string_view rawValue = raw.substr(eq + 1);
    bool continues = key == lastKey_;
    lastKey_ = key;
    if (key == "extd") {
      // Extended data is cut into chunks at any byte, spaces included:
      // trimming a chunk would lose them.
      extendedDisc_.append(rawValue);
      return;
    }
    if (startsWithNoCase(key, "extt")) {
      if (rawValue.empty()) return;
      int32_t n = leadingInt(std::string_view(key).substr(4));
      if (n < 0 || n >= ZV_CDDB_MAX_TRACKS) return;
      extendedTracks_[n].append(rawValue);
      raiseTrackCount(n);
      return;
    }
    std::string_view value = trim(rawValue);
    if (value.empty()) return;
    // A key repeated on the next line continues a long value; the split may
    // fall on a space, so the parts are joined untrimmed and the whole value
    // is trimmed at the end.
    if (key == "dtitle") {
      if (continues) entry.discTitle.append(rawValue);
      else entry.discTitle.assign(rawValue);
    } else if (key == "playorder") {
      for (const std::string& part : splitText(value, ','))
        if (entry.playOrder.size() < ZV_CDDB_MAX_TRACKS) entry.playOrder.push_back(leadingInt(part));
    } else if (startsWithNoCase(key, "ttitle")) {
      int32_t n = leadingInt(std::string_view(key).substr(6));
      if (n < 0 || n >= ZV_CDDB_MAX_TRACKS) return;
      if (continues) entry.trackTitles[n].append(rawValue);
      else entry.trackTitles[n].assign(rawValue);
      raiseTrackCount(n);
    }
  }

  XmcdEntry finish() {
    entry.discTitle = std::string(trim(entry.discTitle));
    for (std::string& title : entry.trackTitles) title = std::string(trim(title));
    entry.extendedDisc = unescapeXmcd(extendedDisc_);
    for (int i = 0; i < ZV_CDDB_MAX_TRACKS; ++i) entry.extendedTracks[i] = unescapeXmcd(extendedTracks_[i]);
    return std::move(entry);
  }

 private:
  void raiseTrackCount(int32_t index) { entry.trackCount = std::max(entry.trackCount, index + 1); }

  void comment(std::string_view rest) {
    if (equalsNoCase(rest, "Track frame offsets:")) {
      offsetList_ = true;
      nextOffset_ = 0;
    } else if (startsWithNoCase(rest, "Disc length:")) {
      std::string_view value = trim(rest.substr(12));
      size_t space = value.find(' ');
      entry.discLengthSeconds = space == std::string_view::npos ? 0 : leadingInt(value.substr(0, space));
    } else if (startsWithNoCase(rest, "Revision:")) {
      entry.revision = leadingInt(rest.substr(9));
    } else if (startsWithNoCase(rest, "Submitted via:")) {
      entry.submittedVia.assign(trim(rest.substr(14)));
    } else if (startsWithNoCase(rest, "MCI ID:")) {
      entry.mciId.assign(trim(rest.substr(7)));
    } else if (startsWithNoCase(rest, "Leadout:")) {
      entry.leadOut = leadingInt(rest.substr(8));
    } else if (offsetList_) {
      int32_t offset = 0;
      if (!wholeNumber(rest, offset)) {
        offsetList_ = false;
        return;
      }
      if (nextOffset_ < ZV_CDDB_MAX_TRACKS) {
        if (entry.offsets.size() <= size_t(nextOffset_)) entry.offsets.resize(nextOffset_ + 1);
        entry.offsets[nextOffset_] = offset;
        raiseTrackCount(nextOffset_);
      }
      ++nextOffset_;
    }
  }

  bool offsetList_ = false;
  int32_t nextOffset_ = 0;
  std::string lastKey_;
  std::string extendedDisc_;
  std::string extendedTracks_[ZV_CDDB_MAX_TRACKS];
};

void addChunks(std::string& out, const char* key, std::string_view text) {
  if (text.empty()) return;
  std::string escaped = escapeXmcd(text);
  // A length that is a multiple of the chunk size ends with a line holding
  // only the key, so a reader always sees where the value stops.
  for (size_t at = 0;; at += kChunk) {
    out.append(key).append("=").append(escaped.substr(at, kChunk)).append("\r\n");
    if (escaped.size() - at < kChunk) break;
  }
}

}  // namespace

XmcdEntry parseXmcd(std::string_view text) {
  Reader reader;
  while (!text.empty()) {
    size_t end = text.find('\n');
    reader.line(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return reader.finish();
}

std::string escapeXmcd(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '\\') out += "\\\\";
    else out += c;
  }
  return out;
}

std::string unescapeXmcd(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c != '\\' || i + 1 == text.size()) {
      out += c;
      continue;
    }
    char next = text[++i];
    out += next == 'n' ? '\n' : next == 't' ? '\t' : next;
  }
  return out;
}

std::string formatXmcd(const ZvCddbInfo& info, int32_t revision) {
  std::string out;
  char line[128];
  auto add = [&](std::string_view s) { out.append(s).append("\r\n"); };
  const int32_t tracks = std::clamp<int32_t>(info.trackCount, 0, ZV_CDDB_MAX_TRACKS);
  add("# xmcd");
  add("#");
  add("# Track frame offsets:");
  for (int32_t i = 0; i < tracks; ++i) {
    std::snprintf(line, sizeof(line), "# %d", info.frameOffsets[i]);
    add(line);
  }
  add("#");
  std::snprintf(line, sizeof(line), "# Leadout: %d", info.leadOut);
  add(line);
  std::snprintf(line, sizeof(line), "# Disc length: %d seconds", info.discLengthSeconds);
  add(line);
  add(std::string("# MCI ID: ") + std::string(info.mciId, strnlen(info.mciId, sizeof(info.mciId))));
  add("#");
  std::snprintf(line, sizeof(line), "# Revision: %d", revision);
  add(line);
  add(std::string("# Submitted via: ") + kCddbSubmittedVia);
  add("#");
  std::snprintf(line, sizeof(line), "DISCID=%08X", info.discId);
  add(line);
  add(std::string("DTITLE=") + std::string(info.discTitle, strnlen(info.discTitle, sizeof(info.discTitle))));
  for (int32_t i = 0; i < tracks; ++i) {
    std::snprintf(line, sizeof(line), "TTITLE%d=", i);
    add(std::string(line) + (info.trackTitles[i] ? info.trackTitles[i] : ""));
  }
  addChunks(out, "EXTD", info.extendedDisc ? info.extendedDisc : "");
  for (int32_t i = 0; i < ZV_CDDB_MAX_TRACKS; ++i) {
    if (!info.extendedTracks[i] || !*info.extendedTracks[i]) continue;
    std::snprintf(line, sizeof(line), "EXTT%d", i);
    addChunks(out, line, info.extendedTracks[i]);
  }
  std::string order = "PLAYORDER=";
  const int32_t orderCount = std::clamp<int32_t>(info.playOrderCount, 0, ZV_CDDB_MAX_TRACKS);
  for (int32_t i = 0; i < orderCount; ++i) {
    if (i) order += ',';
    order += std::to_string(info.playOrder[i]);
  }
  add(order);
  return out;
}

}  // namespace zv
