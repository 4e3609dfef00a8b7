// The frame model over TagLib: TagLib's frames as the interface's and
// back, and a tag rendered to its stored bytes. Pure (no file, no system
// call), so that the host build can fuzz it.
#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/generalencapsulatedobjectframe.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2synchdata.h>
#include <taglib/id3v2tag.h>
#include <taglib/textidentificationframe.h>
#include <taglib/unknownframe.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/urllinkframe.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "frame_types.h"
#include "id3v2_taglib.h"

namespace zvid3 {
namespace {

using namespace TagLib;
using namespace TagLib::ID3v2;

std::wstring wide(const String& s) { return s.toWString(); }
String tl(const std::wstring& s) { return String(s); }
std::string bytes(const ByteVector& v) { return std::string(v.data(), v.size()); }
ByteVector bv(const std::string& s) { return ByteVector(s.data(), static_cast<unsigned>(s.size())); }

// TagLib hands on a frame's encoding byte unchecked, so the value may lie
// outside its enumeration: it is taken as a number, and one outside 0..3
// reads as Latin-1.
int encodingOf(unsigned type) { return type <= 3 ? static_cast<int>(type) : 0; }
String::Type typeOf(int encoding) { return static_cast<String::Type>(encoding >= 0 && encoding <= 3 ? encoding : 0); }

// Several values of one text frame (ID3v2.4 keeps them apart) as one text.
std::wstring joined(const StringList& values, size_t first, const wchar_t* separator) {
  std::wstring text;
  for (size_t i = first; i < values.size(); ++i) {
    if (i > first) text += separator;
    text += wide(values[static_cast<unsigned>(i)]);
  }
  return text;
}

StringList lines(const std::wstring& text) {
  StringList list;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring line = text.substr(start, end - start);
    // "\r\n" and an edit control's soft break "\r\r\n" end a line alike; a
    // stored value ending in CR would lose one CR on every save.
    while (!line.empty() && line.back() == L'\r') line.pop_back();
    list.append(tl(line));
    start = end + 1;
  }
  return list;
}

// "user" frames have no TagLib class: encoding, language, text.
void readTermsOfUse(const ByteVector& body, FrameData& out) {
  if (body.size() < 4) return;
  out.encoding = body[0] & 3;
  out.language = bytes(body.mid(1, 3));
  std::wstring text = wide(String(body.mid(4), typeOf(out.encoding)));
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  out.content = text;
}

// Latin-1 cannot hold every text, and ID3v2.3 knows no UTF-8 or UTF-16BE.
String::Type fittingType(const std::wstring& text, int encoding, int version) {
  String::Type type = typeOf(encoding);
  if (type == String::Latin1 && !tl(text).isLatin1()) type = String::UTF16;
  if (version == 3 && (type == String::UTF8 || type == String::UTF16BE)) type = String::UTF16;
  return type;
}

// A frame of any id from its body, for the frames TagLib has no class for.
Frame* rawFrame(const std::string& id, const ByteVector& body) {
  ByteVector data = bv(id);
  data.append(SynchData::fromUInt(body.size()));
  data.append(ByteVector(2, '\0'));
  data.append(body);
  return new UnknownFrame(data);
}

std::unique_ptr<FrameData> fromTagLib(Frame& frame) {
  auto d = std::make_unique<FrameData>();
  d->id = shownId(bytes(frame.frameID()));
  d->kind = frameTypeOf(d->id).kind;
  if (auto* f = dynamic_cast<UserTextIdentificationFrame*>(&frame)) {
    d->encoding = encodingOf(f->textEncoding());
    d->desc = wide(f->description());
    d->content = joined(f->fieldList(), 1, L"/");
  } else if (auto* f = dynamic_cast<TextIdentificationFrame*>(&frame)) {
    // TagLib reads a few ids outside T as text (WFED, GRP1, MVNM, MVIN):
    // stored as a link or a raw frame, the text lost a character or the
    // whole frame on every save.
    if (d->kind != ZV_ID3_KIND_PEOPLE) d->kind = ZV_ID3_KIND_TEXT;
    d->encoding = encodingOf(f->textEncoding());
    d->content = joined(f->fieldList(), 0, d->kind == ZV_ID3_KIND_PEOPLE ? L"\n" : L"/");
  } else if (auto* f = dynamic_cast<UserUrlLinkFrame*>(&frame)) {
    d->encoding = encodingOf(f->textEncoding());
    d->desc = wide(f->description());
    d->content = wide(f->url());
  } else if (auto* f = dynamic_cast<UrlLinkFrame*>(&frame)) {
    d->content = wide(f->url());
  } else if (auto* f = dynamic_cast<CommentsFrame*>(&frame)) {
    d->encoding = encodingOf(f->textEncoding());
    d->language = bytes(f->language());
    d->desc = wide(f->description());
    d->content = wide(f->text());
  } else if (auto* f = dynamic_cast<UnsynchronizedLyricsFrame*>(&frame)) {
    d->encoding = encodingOf(f->textEncoding());
    d->language = bytes(f->language());
    d->desc = wide(f->description());
    d->content = wide(f->text());
  } else if (auto* f = dynamic_cast<AttachedPictureFrame*>(&frame)) {
    d->encoding = encodingOf(f->textEncoding());
    d->mimetype = wide(f->mimeType());
    d->desc = wide(f->description());
    d->pictype = static_cast<int>(f->type());
    d->data = bytes(f->picture());
  } else if (auto* f = dynamic_cast<GeneralEncapsulatedObjectFrame*>(&frame)) {
    d->encoding = encodingOf(f->textEncoding());
    d->mimetype = wide(f->mimeType());
    d->filename = wide(f->fileName());
    d->desc = wide(f->description());
    d->data = bytes(f->object());
  } else {
    // Kept byte for byte; the body is what follows the rendered header.
    ByteVector all = frame.render();
    ByteVector body = all.mid(all.size() - frame.size());
    if (d->id == "user") {
      d->kind = ZV_ID3_KIND_LANGTEXT;
      readTermsOfUse(body, *d);
    } else {
      d->kind = ZV_ID3_KIND_OTHER;
      d->data = bytes(body);
    }
  }
  return d;
}

// Frame::header() is protected in TagLib; a class derived from Frame may
// name it, and the pointer so formed applies to any frame.
struct HeaderOf : Frame {
  static Frame::Header* of(const Frame& frame) { return (frame.*&HeaderOf::header)(); }
};

// An encrypted frame's body is cipher bytes TagLib keeps raw; TagLib writes
// no frame flags, so saving it would store them as a plain frame of that
// id (text or picture made of noise). It is not part of the model.
bool sealed(const Frame& frame) { return HeaderOf::of(frame)->encryption(); }

// Frames of a class TagLib knows but the model does not (RVA2, POPM, CHAP
// and more) are kept as TagLib renders them from what it parsed. A damaged
// one (a channel of RVA2 cut short) renders to bytes that read back as a
// different frame, so every save would change it again; it is left out.
bool settled(Frame& frame, const FrameData& d) {
  const unsigned version = HeaderOf::of(frame)->version();
  if (d.kind != ZV_ID3_KIND_OTHER || dynamic_cast<UnknownFrame*>(&frame) || version < 3) return true;
  ID3v2::Header header;
  header.setMajorVersion(version);
  const ByteVector once = frame.render();
  std::unique_ptr<Frame> again(FrameFactory::instance()->createFrame(once, &header));
  return again && again->render() == once;
}

bool validId(const std::string& id) {
  if (id.size() != 4) return false;
  for (char c : id)
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  return true;
}

// A TagLib frame for one of ours; null for frames without content, which
// are left out of the stored tag.
Frame* toTagLib(const FrameData& d, int version) {
  std::string id = storedId(d.id);
  if (!validId(id)) return nullptr;
  String::Type type = fittingType(d.content + d.desc + d.filename, d.encoding, version);
  std::string language = d.language.size() == 3 ? d.language : "eng";
  switch (d.kind) {
    case ZV_ID3_KIND_TEXT:
    case ZV_ID3_KIND_PEOPLE: {
      if (d.content.empty()) return nullptr;
      auto* f = new TextIdentificationFrame(bv(id), type);
      if (d.kind == ZV_ID3_KIND_PEOPLE) {
        // Involvements and persons alternate; TagLib's ID3v2.3 writer drops
        // a last involvement without its person, so it gets an empty one.
        StringList people = lines(d.content);
        if (people.size() % 2 != 0) people.append(String());
        f->setText(people);
      } else {
        f->setText(tl(d.content));
      }
      return f;
    }
    case ZV_ID3_KIND_USERTEXT:
      if (d.content.empty() && d.desc.empty()) return nullptr;
      if (d.id == "wxxx") {
        auto* f = new UserUrlLinkFrame(type);
        f->setDescription(tl(d.desc));
        f->setUrl(tl(d.content));
        return f;
      } else {
        auto* f = new UserTextIdentificationFrame(type);
        f->setDescription(tl(d.desc));
        f->setText(tl(d.content));
        return f;
      }
    case ZV_ID3_KIND_URL:
      if (d.content.empty()) return nullptr;
      return rawFrame(id, tl(d.content).data(String::Latin1));
    case ZV_ID3_KIND_LANGTEXT: {
      if (d.content.empty() && d.desc.empty()) return nullptr;
      if (d.id == "comm") {
        auto* f = new CommentsFrame(type);
        f->setLanguage(bv(language));
        f->setDescription(tl(d.desc));
        f->setText(tl(d.content));
        return f;
      }
      if (d.id == "uslt") {
        auto* f = new UnsynchronizedLyricsFrame(type);
        f->setLanguage(bv(language));
        f->setDescription(tl(d.desc));
        f->setText(tl(d.content));
        return f;
      }
      ByteVector body(1, static_cast<char>(type));
      body.append(bv(language));
      body.append(tl(d.content).data(type));
      return rawFrame(id, body);
    }
    case ZV_ID3_KIND_OBJECT:
      if (d.data.empty() && d.desc.empty()) return nullptr;
      if (d.id == "apic") {
        auto* f = new AttachedPictureFrame();
        f->setTextEncoding(type);
        f->setMimeType(tl(d.mimetype));
        f->setDescription(tl(d.desc));
        f->setType(static_cast<AttachedPictureFrame::Type>(d.pictype & 0xFF));
        f->setPicture(bv(d.data));
        return f;
      } else {
        auto* f = new GeneralEncapsulatedObjectFrame();
        f->setTextEncoding(type);
        f->setMimeType(tl(d.mimetype));
        f->setFileName(tl(d.filename));
        f->setDescription(tl(d.desc));
        f->setObject(bv(d.data));
        return f;
      }
    default:
      if (d.data.empty()) return nullptr;
      return rawFrame(id, bv(d.data));
  }
}

constexpr unsigned kTagHeader = 10, kFrameHeader = 10;

// Where the frames of a tag TagLib rendered end and its padding begins (a
// frame id never starts with a zero byte).
unsigned framesEnd(const ByteVector& rendered) {
  const bool v4 = rendered.size() > 3 && rendered[3] == 4;
  uint64_t pos = kTagHeader;
  while (pos + kFrameHeader <= rendered.size() && rendered[static_cast<unsigned>(pos)] != 0) {
    ByteVector size = rendered.mid(static_cast<unsigned>(pos) + 4, 4);
    pos += kFrameHeader + uint64_t{v4 ? SynchData::toUInt(size) : size.toUInt()};
  }
  return static_cast<unsigned>(std::min<uint64_t>(pos, rendered.size()));
}

// The known types are ID3v2.3 frames, which TagLib's ID3v2.3 writer keeps.
bool knownType(const std::string& id) {
  for (const FrameType& type : knownFrameTypes())
    if (type.id == id) return true;
  return false;
}

// TagLib's ID3v2.3 writer leaves out frames of the ids that ID3v2.4 brought
// (TSST, TMOO, RVA2 and more), which ID3v2.3 tags hold as well: saving would
// lose them. A frame that renders to content but not in a tag of its own
// is such a frame.
bool leftOutOfV23(Frame* frame) {
  if (frame->render().size() <= kFrameHeader) return false;
  ID3v2::Tag probe;
  probe.addFrame(frame);
  const ByteVector rendered = probe.render(ID3v2::v3);
  probe.removeFrame(frame, false);
  return framesEnd(rendered) == kTagHeader;
}

// The ID3v2.3 tag TagLib rendered with `frames` added after its own frames,
// as ID3v2.3 frames (plain sizes, no flags).
ByteVector withFrames(const ByteVector& rendered, const std::vector<std::unique_ptr<Frame>>& frames) {
  ByteVector added;
  for (const auto& f : frames) {
    HeaderOf::of(*f)->setVersion(3);
    added.append(f->render());
  }
  const unsigned end = framesEnd(rendered);
  ByteVector out = rendered.mid(0, end);
  out.append(added);
  out.append(rendered.mid(end));
  const ByteVector size = SynchData::fromUInt(out.size() - kTagHeader);
  for (unsigned i = 0; i < 4; ++i) out[6 + i] = size[i];
  return out;
}

}  // namespace

void modelFromTag(const TagLib::ID3v2::Tag& source, TagData& tag) {
  tag.frames.clear();
  tag.version = source.header()->majorVersion() == 4 ? 4 : 3;
  for (Frame* frame : source.frameList()) {
    if (sealed(*frame)) continue;
    auto d = fromTagLib(*frame);
    // ID3v2.2 ids TagLib could not map have three characters and cannot be
    // written back.
    if (d->id.size() == 4 && settled(*frame, *d)) tag.frames.push_back(std::move(d));
  }
}

std::string renderTag(const TagData& tag) {
  ID3v2::Tag out;
  std::vector<std::unique_ptr<Frame>> leftOut;
  for (const auto& d : tag.frames) {
    Frame* f = toTagLib(*d, tag.version);
    if (!f) continue;
    if (tag.version == 3 && !knownType(d->id) && leftOutOfV23(f)) leftOut.emplace_back(f);
    else out.addFrame(f);
  }
  ByteVector rendered = out.render(tag.version == 4 ? ID3v2::v4 : ID3v2::v3);
  if (!leftOut.empty()) rendered = withFrames(rendered, leftOut);
  // A tag whose frames all rendered to nothing is no tag: saving removes it.
  if (framesEnd(rendered) == kTagHeader) return {};
  return bytes(rendered);
}

std::unique_ptr<TagData> copyTag(const TagData& tag) {
  auto copy = std::make_unique<TagData>();
  copy->version = tag.version;
  for (const auto& f : tag.frames) copy->frames.push_back(std::make_unique<FrameData>(*f));
  return copy;
}

}  // namespace zvid3
