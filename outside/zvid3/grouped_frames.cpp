#include "grouped_frames.h"

#include <taglib/id3v2extendedheader.h>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2synchdata.h>
#include <taglib/id3v2tag.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/tfile.h>

#include "id3v2_taglib.h"

namespace zvid3 {
namespace {

using namespace TagLib;
using namespace TagLib::ID3v2;

constexpr unsigned kHeader = 10;

// Frame::Header is protected in TagLib; a class derived from Frame may name
// it, and so give it a public name.
struct FrameAccess : Frame {
  using Header = Frame::Header;
};
using FrameHeader = FrameAccess::Header;

bool frameIdChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// What TagLib's frame factory accepts as a frame; TagLib's reading of the
// tag stops at the first it does not.
bool acceptedFrame(const FrameHeader& frame, unsigned available) {
  const ByteVector id = frame.frameID();
  if (id.size() != 4) return false;
  if (frame.frameSize() <= (frame.dataLengthIndicator() ? 4u : 0u) || frame.frameSize() > available) return false;
  for (unsigned i = 0; i < 4; ++i)
    if (!frameIdChar(id[i]) && !(i == 3 && id[i] == '\0' && frame.version() == 3)) return false;
  return true;
}

// The group byte follows the header; in ID3v2.3 it comes after the
// decompressed size and the encryption method when the frame has them.
unsigned groupByteAt(const FrameHeader& frame, unsigned version) {
  if (version == 4) return kHeader;
  return kHeader + (frame.compression() ? 4 : 0) + (frame.encryption() ? 1 : 0);
}

// The frame (header and stored body) without its group byte. Under
// ID3v2.4 unsynchronisation a group byte 0xFF is followed by a zero that
// belongs to it.
bool ungroup(ByteVector& frame, const FrameHeader& header, unsigned version, bool unsynchronised) {
  const unsigned at = groupByteAt(header, version);
  unsigned cut = 1;
  if (unsynchronised && at + 1 < frame.size() && frame[at] == '\xFF' && frame[at + 1] == '\0') cut = 2;
  const unsigned size = header.frameSize();
  if (at + cut > frame.size() || size - cut <= (header.dataLengthIndicator() ? 4u : 0u)) return false;
  const unsigned rest = size - cut;
  frame = frame.mid(0, at) + frame.mid(at + cut);
  const ByteVector stored = version == 4 ? SynchData::fromUInt(rest) : ByteVector::fromUInt(rest);
  for (unsigned i = 0; i < 4; ++i) frame[4 + i] = stored[i];
  frame[9] = static_cast<char>(frame[9] & (version == 4 ? ~0x40 : ~0x20));
  return true;
}

// A file of bytes that is only what the ID3v2 reader needs.
class TagBytes : public File {
 public:
  explicit TagBytes(IOStream* stream) : File(stream) {}
  TagLib::Tag* tag() const override { return nullptr; }
  AudioProperties* audioProperties() const override { return nullptr; }
  bool save() override { return false; }
};

}  // namespace

ByteVector ungroupedTag(const ByteVector& head) {
  if (head.size() < kHeader || !head.startsWith(ID3v2::Header::fileIdentifier())) return {};
  const ID3v2::Header header(head.mid(0, kHeader));
  const unsigned version = header.majorVersion();
  const unsigned stored = header.tagSize();
  if ((version != 3 && version != 4) || stored > head.size() - kHeader) return {};

  // The walk follows TagLib's own reading of the tag, step for step.
  ByteVector body = head.mid(kHeader, stored);
  if (version == 3 && header.unsynchronisation()) body = SynchData::decode(body);
  unsigned pos = 0;
  unsigned length = body.size();
  if (header.extendedHeader()) {
    ExtendedHeader extended;
    extended.setData(body);
    if (extended.size() <= body.size()) {
      pos += extended.size();
      length -= extended.size();
    }
  }
  if (header.footerPresent() && kHeader <= length) length -= kHeader;

  ByteVector out = body.mid(0, pos);
  bool grouped = false;
  while (length > kHeader && pos < length - kHeader && body[pos] != '\0') {
    const ByteVector rest = body.mid(pos);
    const FrameHeader frameHeader(rest, version);
    if (!acceptedFrame(frameHeader, rest.size())) break;
    ByteVector frame = rest.mid(0, kHeader + frameHeader.frameSize());
    const bool unsynchronised = version == 4 && (header.unsynchronisation() || frameHeader.unsynchronisation());
    if (frameHeader.groupingIdentity() && ungroup(frame, frameHeader, version, unsynchronised)) grouped = true;
    out.append(frame);
    pos += kHeader + frameHeader.frameSize();
  }
  if (!grouped) return {};
  out.append(body.mid(pos));
  out.resize(stored, '\0');

  ByteVector tag = head.mid(0, kHeader);
  // An ID3v2.3 tag's unsynchronisation was undone above.
  if (version == 3) tag[5] = static_cast<char>(tag[5] & ~0x80);
  tag.append(out);
  tag.append(head.mid(kHeader + stored));
  return tag;
}

void modelFromTagBytes(const ByteVector& head, TagData& tag) {
  ByteVectorStream stream(head);
  TagBytes file(&stream);
  const ID3v2::Tag read(&file, 0, FrameFactory::instance());
  modelFromTag(read, tag);
}

bool modelFromUngroupedTag(const ByteVector& head, TagData& tag) {
  const ByteVector ungrouped = ungroupedTag(head);
  if (ungrouped.isEmpty()) return false;
  modelFromTagBytes(ungrouped, tag);
  return true;
}

}  // namespace zvid3
