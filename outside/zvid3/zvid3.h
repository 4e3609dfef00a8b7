// zvid3.dll: ID3v1 and ID3v2 tags for the engine and the player, and the
// description formats built from tag values.
//
// Texts cross this interface zero-terminated in the active ANSI code page;
// tags stored as UTF-16 or UTF-8 are converted, and characters the code page
// cannot show become "?". Callers own every buffer. Paths are ANSI paths of
// at most 260 bytes; the files are opened by their wide names, so paths with
// non-ASCII characters work.
//
// Tag writes never put the audio at risk: the new file is written beside the
// original, read back and checked, and only then takes the original's place.
// A failed write leaves the original untouched and no temporary file behind.
//
// All functions are flat C, stdcall, and never let an exception escape. The
// ID3v1 calls, getGenre, genreIdx and formatDesc may be called from any
// thread. An ID3v2 handle (and its frames) belongs to one thread at a time.
#pragma once
#include "zv_base.h"

#ifdef __cplusplus
extern "C" {
#endif

// ---------------------------------------------------------------------------
// ID3v1.1 record: the 128 bytes stored at the end of the file, byte by byte.
// Texts are in the code page of the machine that wrote them, padded with NULs
// (or blanks, by some writers). The comment holds 28 bytes so that byte 125
// can be the 0 that marks byte 126 as the track number.
typedef struct ZvId3v1Tag {
  char magic[3];     // "TAG"
  char title[30];
  char artist[30];
  char album[30];
  char year[4];
  char comment[28];
  uint8_t zero;      // 0 when `track` holds a track number
  uint8_t track;     // 1..255, 0 = none
  uint8_t genre;     // genre number, 255 = none
} ZvId3v1Tag;
ZV_LAYOUT(sizeof(ZvId3v1Tag) == 128);
ZV_LAYOUT(offsetof(ZvId3v1Tag, title) == 3);
ZV_LAYOUT(offsetof(ZvId3v1Tag, artist) == 33);
ZV_LAYOUT(offsetof(ZvId3v1Tag, album) == 63);
ZV_LAYOUT(offsetof(ZvId3v1Tag, year) == 93);
ZV_LAYOUT(offsetof(ZvId3v1Tag, comment) == 97);
ZV_LAYOUT(offsetof(ZvId3v1Tag, zero) == 125);
ZV_LAYOUT(offsetof(ZvId3v1Tag, track) == 126);
ZV_LAYOUT(offsetof(ZvId3v1Tag, genre) == 127);

// Result codes of the tag calls.
#define ZV_ID3_OK 0            // done
#define ZV_ID3_NO_TAG 1        // the file has no such tag (removeTag: nothing to remove)
#define ZV_ID3_NO_TAGS_HERE 2  // the file's type keeps no ID3 tags (Ogg, FLAC, RIFF, MP4, ASF, CD tracks)
#define ZV_ID3_IO_ERROR 3      // the file could not be read or written (missing, read-only, locked)
#define ZV_ID3_BAD_ARGUMENT 4  // a null pointer or an unusable path
#define ZV_ID3_DEFERRED 5      // id3v2Save: the file is in use; id3v2DoBatch writes it later
#define ZV_ID3_BAD_FILE 6      // the file changed under us or the written copy did not verify

// Genre value of a record without a genre.
#define ZV_ID3_GENRE_NONE 255

// Reads the file's ID3v1 record into *tag. Returns 0 with the record filled,
// 1 when the file has none (record zeroed), 2 for a file type without ID3
// tags, 3 when the file cannot be read, 4 for a null argument.
ZVEXPORT int32_t ZVAPI readTag(const char* path, ZvId3v1Tag* tag);

// Splits a record into texts, each trimmed of trailing blanks and NULs.
// Buffers: title, artist, album 31 bytes; year 5; comment 31. Any output may
// be null to skip it. *track gets 0 when the record has none; *genre 0..255.
// Under the UTF-8 active code page a field that is not UTF-8 is taken as the
// system's legacy code page and converted (cut to the buffer if it grows).
ZVEXPORT void ZVAPI decodeTag(const ZvId3v1Tag* tag, char* title, char* artist, char* album, char* year,
                              char* comment, int32_t* track, int32_t* genre);

// Builds a record (magic "TAG") from texts, each cut to its field at a
// character boundary; null texts count as empty. Track 1..255 (anything else
// stores 0, none); genre 0..254, anything else stores 255 (none). Under the
// UTF-8 active code page a text is stored in the legacy code page when that
// holds all its characters, else as UTF-8.
ZVEXPORT void ZVAPI encodeTag(ZvId3v1Tag* tag, const char* title, const char* artist, const char* album,
                              const char* year, const char* comment, int32_t track, int32_t genre);

// Stores the record as the file's ID3v1 tag, replacing one that is there.
// Returns 0 ok, 2 for a file type without ID3 tags, 3 when the file cannot
// be written, 4 for a null argument, 6 when the written file did not verify.
ZVEXPORT int32_t ZVAPI writeTag(const char* path, const ZvId3v1Tag* tag);

// Removes the file's ID3v1 tag. Returns 0 removed, 1 there was none, 2 a
// file type without ID3 tags (all three count as success); 3, 4, 6 errors.
ZVEXPORT int32_t ZVAPI removeTag(const char* path);

// Name of genre `number` into name (256 bytes). Returns ZV_TRUE for a listed
// genre; ZV_FALSE with an empty name otherwise.
ZVEXPORT ZvBool ZVAPI getGenre(int32_t number, char* name);

// Number of the genre called `name` (compared without regard to case, blanks
// around it ignored); -1 when not listed.
ZVEXPORT int32_t ZVAPI genreIdx(const char* name);

// Size of formatDesc's output buffer; the text is cut to one byte less.
#define ZV_DESC_SIZE 256

// Builds a description from a format into out (ZV_DESC_SIZE bytes) and
// returns its length in bytes. Null texts count as empty. Format language:
//   %a artist  %t title  %l album  %y year  %n track (empty when 0)
//   %f file name without extension  %e extension (without the dot)
//   %p the whole path  %%  a percent sign
//   %@ %! %[ %]  the characters @ ! [ ] as text
//   @[fields][text]  text, only when every placeholder named in `fields` is
//                    non-empty (other characters in `fields` are ignored)
//   ![fields][text]  text, only when some placeholder in `fields` is empty
// Blocks nest inside text; every other character is copied as it stands
// (quotation marks included). A malformed format never fails: an unknown or
// trailing lone "%" is copied as text, an unclosed block takes the rest of
// the format as its text, "@" or "!" not followed by "[" is text.
// Examples: "@[%a%t][@[%n][%n. ]%a "%t"]" gives 3. Artist "Title";
// "@[%a%t][%a - %t.txt]![%a%t][%f.txt]" names a lyrics file.
ZVEXPORT int32_t ZVAPI formatDesc(const char* format, const char* path, const char* title, const char* artist,
                                  const char* album, const char* year, int32_t track, char* out);

// ---------------------------------------------------------------------------
// ID3v2. A tag handle holds a tag's frames independent of any file: load it
// from one file, edit, save it to that or another. Frame handles stay valid
// until their frame is deleted, the tag is loaded again or freed.
typedef struct ZvId3v2TagData* ZvId3v2Tag;
typedef struct ZvId3v2FrameData* ZvId3v2Frame;

// Progress of a long operation: stage 0 begins one titled by text (value 0),
// stage 1 reports value (percent 0..100), stage 2 ends it. Called on the
// caller's thread; may be null.
typedef void(ZVAPI* ZvId3Progress)(int32_t stage, const char* text, int32_t value);

// Frame kinds, for choosing an editor.
#define ZV_ID3_KIND_TEXT 0      // t***: "content"
#define ZV_ID3_KIND_URL 1       // w***: "content"
#define ZV_ID3_KIND_USERTEXT 2  // txxx, wxxx: "desc", "content"
#define ZV_ID3_KIND_LANGTEXT 3  // comm, uslt, user: "language", "desc", "content"
#define ZV_ID3_KIND_OBJECT 4    // apic, geob: "mimetype", "desc", "pictype" (apic), "filename" (geob), "data"
#define ZV_ID3_KIND_PEOPLE 5    // ipls: "content" lines alternate involvement and person
#define ZV_ID3_KIND_OTHER 6     // any other frame: "data", its raw body, kept as read

// An empty tag handle; null when out of memory. Free with id3v2Free.
ZVEXPORT ZvId3v2Tag ZVAPI id3v2Create(void);
ZVEXPORT void ZVAPI id3v2Free(ZvId3v2Tag tag);

// Replaces the handle's frames with the file's ID3v2 tag. Returns 0 when a
// tag was read; 1 no tag, 2 a file type without ID3 tags, 3 read error, 4
// bad argument: then the handle is empty (frames may still be added).
ZVEXPORT int32_t ZVAPI id3v2Load(ZvId3v2Tag tag, const char* path);

// Writes the handle's frames as the file's ID3v2 tag (the version it had,
// 2.3 for a new tag; frames without content are left out, and none at all
// removes the tag). flags: pass 0. Returns 0 saved, 5 deferred (the file is
// in use: nothing was written yet, a copy of the tag waits for
// id3v2DoBatch), 3 for every failure (original untouched).
ZVEXPORT int32_t ZVAPI id3v2Save(ZvId3v2Tag tag, const char* path, int32_t flags, ZvId3Progress progress);

// Runs the deferred saves whose files are free now, oldest first; those
// still in use stay queued, those failing otherwise are dropped. Returns
// how many remain queued. Call when playback stops and at exit.
ZVEXPORT int32_t ZVAPI id3v2DoBatch(ZvId3Progress progress);

// Frames in tag order: count, and the i-th (0-based; null out of range).
ZVEXPORT int32_t ZVAPI id3v2FrameCount(ZvId3v2Tag tag);
ZVEXPORT ZvId3v2Frame ZVAPI id3v2GetFrame(ZvId3v2Tag tag, int32_t index);

// A frame's id as four lower-case characters ("tit2") into id (8 bytes),
// its readable name into name (256 bytes; the id itself for unknown frames)
// and its ZV_ID3_KIND_* into *kind. Any output may be null. ZV_FALSE for a
// null frame.
ZVEXPORT ZvBool ZVAPI id3v2FrameType(ZvId3v2Frame frame, char* id, char* name, int32_t* kind);

// The known frame types in display order: count, and the i-th type's id (8
// bytes), name (256) and kind. ZV_FALSE out of range.
ZVEXPORT int32_t ZVAPI id3v2TypeCount(void);
ZVEXPORT ZvBool ZVAPI id3v2GetType(int32_t index, char* id, char* name, int32_t* kind);

// First frame with this id (any case), or null. id3v2AddFrame appends a new
// empty frame (language "eng", encoding 0); null when id is not four letters
// or digits.
ZVEXPORT ZvId3v2Frame ZVAPI id3v2FindFrame(ZvId3v2Tag tag, const char* id);
ZVEXPORT ZvId3v2Frame ZVAPI id3v2AddFrame(ZvId3v2Tag tag, const char* id);

// Removes the frame from the tag; its handle becomes invalid.
ZVEXPORT void ZVAPI id3v2DelFrame(ZvId3v2Tag tag, ZvId3v2Frame frame);

// Text fields ("content", "desc", "mimetype", "filename", "language"; also
// "pictype" and "encoding" in decimal). Get copies at most size - 1 bytes,
// cut at a character boundary, and returns the bytes copied (0 when the
// field is empty or the frame has none). Set returns ZV_FALSE when the frame
// has no such field.
ZVEXPORT int32_t ZVAPI id3v2GetStringField(ZvId3v2Frame frame, const char* field, char* buffer, int32_t size);
ZVEXPORT ZvBool ZVAPI id3v2SetStringField(ZvId3v2Frame frame, const char* field, const char* text);

// Number fields: "pictype" (picture type), "encoding" (0 8-bit text, 1 UTF-16,
// 2 UTF-16BE, 3 UTF-8; a text that 8-bit cannot hold is stored as UTF-16).
// Get returns 0 when the frame has no such field.
ZVEXPORT int32_t ZVAPI id3v2GetIntField(ZvId3v2Frame frame, const char* field);
ZVEXPORT ZvBool ZVAPI id3v2SetIntField(ZvId3v2Frame frame, const char* field, int32_t value);

// Raw bytes: "data". Get returns a pointer owned by the frame (valid until
// the field is set, the frame deleted or the tag loaded or freed) and the
// length in *length; null with *length 0 when there is none.
ZVEXPORT const void* ZVAPI id3v2GetBinaryField(ZvId3v2Frame frame, const char* field, int32_t* length);
ZVEXPORT ZvBool ZVAPI id3v2SetBinaryField(ZvId3v2Frame frame, const char* field, const void* data, int32_t length);

#ifdef __cplusplus
}
#endif
