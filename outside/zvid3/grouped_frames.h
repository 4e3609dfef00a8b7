// Grouped ID3v2 frames: a frame flagged as part of a group carries one
// group byte before its content. TagLib does not skip it, so it read such a
// frame's encoding or text from the wrong byte, and a save wrote the
// garbled content back.
#pragma once
#include <taglib/tbytevector.h>

#include "id3v2_model.h"

namespace zvid3 {

// The ID3v2 tag at the start of `head` with each grouped frame's group byte
// and flag taken out and the tag padded back to its stored size, so that
// TagLib reads it right; empty when the tag holds no grouped frame (or is
// cut short, or of a version without frame flags).
TagLib::ByteVector ungroupedTag(const TagLib::ByteVector& head);

// Reads the ID3v2 tag at the start of `head` into `tag` as TagLib reads a
// file's tag (without the ungrouping).
void modelFromTagBytes(const TagLib::ByteVector& head, TagData& tag);

// When the tag at the start of `head` holds grouped frames, reads it with
// them ungrouped into `tag` and returns true; returns false otherwise and
// leaves `tag` alone. The group itself is not kept: saving writes the frames
// without it.
bool modelFromUngroupedTag(const TagLib::ByteVector& head, TagData& tag);

}  // namespace zvid3
