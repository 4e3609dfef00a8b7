#include "describe_format.h"

#include <cstdint>

#include "ansi_text.h"
#include "foundation/text_util.h"
#include "guard.h"
#include "zvid3.h"

namespace zvid3 {
namespace {

// Deeper blocks are taken as text so that a hostile format cannot exhaust
// the stack.
constexpr int kMaxDepth = 32;
// Output beyond this is dropped while expanding; the caller's buffer is far
// smaller anyway.
constexpr size_t kMaxOutput = 4096;

class Expander {
 public:
  Expander(std::string_view format, const DescValues& values) : f_(format), v_(values) {}

  std::string run() {
    std::string out;
    text(out, true, 0, false);
    return out;
  }

 private:
  // The value of placeholder `c`, or null when `c` names none.
  const std::string* value(char c) const {
    switch (c) {
      case 'a': return &v_.artist;
      case 't': return &v_.title;
      case 'l': return &v_.album;
      case 'y': return &v_.year;
      case 'n': return &v_.track;
      case 'f': return &v_.name;
      case 'e': return &v_.extension;
      case 'p': return &v_.path;
      default: return nullptr;
    }
  }

  void put(std::string& out, bool emit, std::string_view s) const {
    if (emit && out.size() < kMaxOutput) out.append(s.substr(0, kMaxOutput - out.size()));
  }

  // Text up to the end of the format, or in a block up to its closing "]".
  // Brackets that open no block pair up as text, so "[x]" inside a block
  // stays text instead of closing it.
  void text(std::string& out, bool emit, int depth, bool inBlock) {
    int open = 0;
    while (at_ < f_.size()) {
      char c = f_[at_];
      if (c == '%' && at_ + 1 < f_.size()) {
        char name = f_[at_ + 1];
        if (const std::string* v = value(name)) {
          put(out, emit, *v);
          at_ += 2;
          continue;
        }
        if (name == '%' || name == '@' || name == '!' || name == '[' || name == ']') {
          put(out, emit, std::string_view(&f_[at_ + 1], 1));
          at_ += 2;
          continue;
        }
      }
      if ((c == '@' || c == '!') && at_ + 1 < f_.size() && f_[at_ + 1] == '[' && depth < kMaxDepth) {
        block(out, emit, depth + 1);
        continue;
      }
      if (c == '[') ++open;
      if (c == ']' && inBlock) {
        if (open == 0) {
          ++at_;
          return;
        }
        --open;
      }
      // Copy whole characters: a trail byte may look like "%" or "[".
      size_t n = zv::charSizeAt(f_, at_);
      put(out, emit, f_.substr(at_, n));
      at_ += n;
    }
  }

  // "@[fields][text]" or "![fields][text]", at_ on the "@" or "!".
  void block(std::string& out, bool emit, int depth) {
    bool negated = f_[at_] == '!';
    at_ += 2;
    bool allSet = true;
    while (at_ < f_.size() && f_[at_] != ']') {
      if (f_[at_] == '%' && at_ + 1 < f_.size()) {
        if (const std::string* v = value(f_[at_ + 1])) {
          allSet = allSet && !v->empty();
          at_ += 2;
          continue;
        }
      }
      at_ += zv::charSizeAt(f_, at_);
    }
    if (at_ < f_.size()) ++at_;  // the "]" of the fields
    if (at_ >= f_.size() || f_[at_] != '[') return;  // a block without text
    ++at_;
    text(out, emit && (negated ? !allSet : allSet), depth, true);
  }

  std::string_view f_;
  const DescValues& v_;
  size_t at_ = 0;
};

}  // namespace

std::string expandFormat(std::string_view format, const DescValues& values) {
  return Expander(format, values).run();
}

}  // namespace zvid3

using namespace zvid3;

ZVEXPORT int32_t ZVAPI formatDesc(const char* format, const char* path, const char* title, const char* artist,
                                  const char* album, const char* year, int32_t track, char* out) {
  return guarded("formatDesc", int32_t(0), [&]() -> int32_t {
    if (!out) return 0;
    out[0] = '\0';
    if (!format) return 0;
    auto text = [](const char* s) { return std::string(s ? s : ""); };
    DescValues values;
    values.artist = text(artist);
    values.title = text(title);
    values.album = text(album);
    values.year = text(year);
    values.track = track > 0 ? std::to_string(track) : std::string();
    values.path = text(path);
    std::string name = zv::fileNamePart(values.path);
    std::string extension = zv::extensionPart(values.path);
    values.name = name.substr(0, name.size() - extension.size());
    values.extension = extension.empty() ? extension : extension.substr(1);
    return copyOut(out, ZV_DESC_SIZE, expandFormat(format, values));
  });
}
