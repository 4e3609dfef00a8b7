#include "id3v2_taglib.h"

#include <windows.h>

#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tfilestream.h>

#include "file_layout.h"
#include "grouped_frames.h"
#include "win32/owners.h"

namespace zvid3 {

using namespace TagLib;
using namespace TagLib::ID3v2;

namespace {

// The ID3v2 tag at the start of the file as stored (empty when the file
// starts otherwise).
ByteVector leadingTag(FileStream& stream) {
  stream.seek(0);
  ByteVector head = stream.readBlock(ID3v2::Header::size());
  if (head.size() < ID3v2::Header::size() || !head.startsWith(ID3v2::Header::fileIdentifier())) return {};
  head.append(stream.readBlock(ID3v2::Header(head).tagSize()));
  return head;
}

}  // namespace

int loadTag(const std::wstring& path, TagData& tag) {
  tag.frames.clear();
  tag.version = 3;
  if (taglessByName(path)) return ZV_ID3_NO_TAGS_HERE;
  {
    zv::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    FileLayout layout;
    if (!file || !readLayout(file.get(), layout)) return ZV_ID3_IO_ERROR;
    if (layout.tagless) return ZV_ID3_NO_TAGS_HERE;
  }
  FileStream stream(path.c_str(), true);
  if (!stream.isOpen()) return ZV_ID3_IO_ERROR;
  MPEG::File file(&stream, FrameFactory::instance(), false);
  if (!file.isValid() || !file.hasID3v2Tag()) return ZV_ID3_NO_TAG;
  if (!modelFromUngroupedTag(leadingTag(stream), tag)) modelFromTag(*file.ID3v2Tag(), tag);
  return ZV_ID3_OK;
}

bool tagReadsBack(const std::wstring& path, size_t tagBytes) {
  if (tagBytes == 0) return true;
  FileStream stream(path.c_str(), true);
  if (!stream.isOpen()) return false;
  MPEG::File file(&stream, FrameFactory::instance(), false);
  return file.isValid() && file.hasID3v2Tag() && file.ID3v2Tag()->header()->completeTagSize() == tagBytes &&
         !file.ID3v2Tag()->frameList().isEmpty();
}

}  // namespace zvid3
