// Playlists of zvengine.dll: a flat sequence of lines whose nesting level
// expresses the tree of groups (directories, playlists, discs, headings) and
// files. Line i is a 28-byte record plus three texts: name (location), desc
// (the text shown) and info (tag information). A group's members follow it
// with a greater level; the branch of a line is the line and the following
// lines of greater level.
// Texts are copied in; getters return pointers into the playlist (an absent
// text reads as ""). No locks: one thread at a time per playlist (the
// player's interface thread). Whoever creates a playlist frees it.
#pragma once
#include "zv_base.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct PlaylistHandle* Playlist;

// One line's record; also the on-disk record of the binary playlist.
typedef struct PlaylistLine {
  uint32_t flags;  // lf* bits below; bits not listed are carried unchanged
  int32_t level;   // nesting depth, 0 at the top
  int32_t time;    // milliseconds (a group: sum over its children); 0 = unknown
  int32_t files;   // a group: playable files in it; 1 for a playable line
  int32_t size;    // kilobytes (a group: sum over its children)
  int32_t user;    // the program's own; the engine only copies it
  int32_t mark;    // follows a line through reordering (plMarkLine)
} PlaylistLine;
ZV_LAYOUT(sizeof(PlaylistLine) == 28);
ZV_LAYOUT(offsetof(PlaylistLine, level) == 4);
ZV_LAYOUT(offsetof(PlaylistLine, time) == 8);
ZV_LAYOUT(offsetof(PlaylistLine, files) == 12);
ZV_LAYOUT(offsetof(PlaylistLine, size) == 16);
ZV_LAYOUT(offsetof(PlaylistLine, user) == 20);
ZV_LAYOUT(offsetof(PlaylistLine, mark) == 24);

// Line flags.
enum {
  lfPlaylist = 0x00004,   // a playlist file (".m3u", ".pls", ".aap", ".z3u", ".m3u8")
  lfDirectory = 0x00008,  // a directory or a drive
  lfHeading = 0x00010,    // a heading of a grouped playlist: empty name, title in desc
  lfCd = 0x00080,         // on a CD-ROM drive, or an audio disc
  lfTrack = 0x00100,      // an audio CD track
  lfDiscList = 0x00200,   // all discs known to the CD database
  lfGroup = 0x00400,      // stands for further lines (expandable)
  lfMissing = 0x00800,    // not found when classified
  lfDisc = 0x02000,       // an audio disc
  lfListed = 0x04000,     // read from a text playlist file
  lfFixed = 0x08000,      // level given by a grouped playlist; never expanded again
  lfGrouped = 0x10000     // a grouped playlist file (".z3u")
};

// plLoad flags.
enum { plLoadBinary = 0x002, plLoadNoCache = 0x800 };
// plSave flags.
enum { plSaveBinary = 0x001, plSaveNoNotify = 0x400 };
// plLoad / plSave results.
enum { plResultOk = 0, plResultNoFile = 4, plResultFailed = 9 };
// plAddFile / plInsFile flags: the location's contents only, at level 0.
enum { plAddContentsOnly = 0x1 };
// Sort modes: the low 16 bits select the key, the options are ORed in.
enum {
  plSortFileName = 0,
  plSortFullName = 1,
  plSortDesc = 2,
  plSortReverse = 3,
  plSortShuffle = 4,
  plSortArtist = 10,
  plSortTitle = 11,
  plSortAlbum = 12,
  plSortYear = 13,
  plSortTrack = 16,
  plSortDirsFirst = 0x10000,
  plSortFilesFirst = 0x40000,
  plSortNoLeadingNumber = 0x80000
};

// ---- Handle. UI thread. ----

// A new empty playlist (pass -1). Free with freePlaylist.
ZVEXPORT Playlist ZVAPI createPlaylist(int32_t reserved);
// Frees the playlist and everything in it; null does nothing.
ZVEXPORT void ZVAPI freePlaylist(Playlist pl);
// Removes every line.
ZVEXPORT void ZVAPI plClear(Playlist pl);
// Number of lines.
ZVEXPORT int32_t ZVAPI plGetCount(Playlist pl);
// Makes dst an exact copy of src (records and texts).
ZVEXPORT void ZVAPI plCopy(Playlist dst, Playlist src);

// ---- Lines. Indexes are 0-based; texts may be null (stored as absent). ----

// Appends a line (a null record appends a zeroed one); returns its index.
ZVEXPORT int32_t ZVAPI plAddLine(Playlist pl, const PlaylistLine* record, const char* name, const char* desc,
                                 const char* info);
// Inserts a line before index; an index outside 0..count-1 appends. Returns its index.
ZVEXPORT int32_t ZVAPI plInsLine(Playlist pl, int32_t index, const PlaylistLine* record, const char* name,
                                 const char* desc, const char* info);
// Removes a line.
ZVEXPORT void ZVAPI plDelLine(Playlist pl, int32_t index);
// Pointers to the stored record and texts; any out pointer may be null.
ZVEXPORT void ZVAPI plGetLine(Playlist pl, int32_t index, PlaylistLine** record, const char** name,
                              const char** desc, const char** info);
// Replaces record and texts of a line.
ZVEXPORT void ZVAPI plSetLine(Playlist pl, int32_t index, const PlaylistLine* record, const char* name,
                              const char* desc, const char* info);
// The stored record, to read and change in place; valid until the next
// insertion or deletion in this playlist. Null for an index out of range.
ZVEXPORT PlaylistLine* ZVAPI plGetRec(Playlist pl, int32_t index);
// Copies 28 bytes into the stored record.
ZVEXPORT void ZVAPI plSetRec(Playlist pl, int32_t index, const PlaylistLine* record);
// The stored texts ("" when absent); valid until that text is replaced or the line moves.
ZVEXPORT const char* ZVAPI plGetName(Playlist pl, int32_t index);
ZVEXPORT const char* ZVAPI plGetDesc(Playlist pl, int32_t index);
ZVEXPORT const char* ZVAPI plGetInfo(Playlist pl, int32_t index);
// Replace one text (copied; null stores an absent text).
ZVEXPORT void ZVAPI plSetName(Playlist pl, int32_t index, const char* text);
ZVEXPORT void ZVAPI plSetDesc(Playlist pl, int32_t index, const char* text);
ZVEXPORT void ZVAPI plSetInfo(Playlist pl, int32_t index, const char* text);
// Set, append or insert a copy of line `from` of src (src may be dst).
ZVEXPORT void ZVAPI plSetFrom(Playlist dst, int32_t index, Playlist src, int32_t from);
ZVEXPORT int32_t ZVAPI plAddFrom(Playlist dst, Playlist src, int32_t from);
ZVEXPORT int32_t ZVAPI plInsFrom(Playlist dst, int32_t index, Playlist src, int32_t from);
// The flags a new line for `location` gets (kind, group, missing). Any thread.
ZVEXPORT uint32_t ZVAPI plGetFlags(const char* location);

// ---- Ranges and branches. src may be dst: the lines are copied as they were
// before the call. `shift` is added to each copy's level. ----

ZVEXPORT void ZVAPI plAddRange(Playlist dst, Playlist src, int32_t first, int32_t count, int32_t shift);
// Inserts the copies before index (outside 0..count-1: appends), in order.
ZVEXPORT void ZVAPI plInsRange(Playlist dst, int32_t index, Playlist src, int32_t first, int32_t count,
                               int32_t shift);
// All lines of src.
ZVEXPORT void ZVAPI plAdd(Playlist dst, Playlist src, int32_t shift);
ZVEXPORT void ZVAPI plInsert(Playlist dst, int32_t index, Playlist src, int32_t shift);
// Removes count lines from first.
ZVEXPORT void ZVAPI plDelRange(Playlist pl, int32_t first, int32_t count);
// Length of the branch of line index (at least 1; 0 for an index out of range).
ZVEXPORT int32_t ZVAPI plGetBranch(Playlist pl, int32_t index);
// Appends / inserts before `at` the branch of line index of src so that its
// head gets `level`.
ZVEXPORT void ZVAPI plAddBranch(Playlist dst, Playlist src, int32_t index, int32_t level);
ZVEXPORT void ZVAPI plInsBranch(Playlist dst, int32_t at, Playlist src, int32_t index, int32_t level);

// ---- Marks. ----

// Sets a line's mark; returns its record (null for an index out of range).
ZVEXPORT PlaylistLine* ZVAPI plMarkLine(Playlist pl, int32_t index, int32_t value);
// Index of the first line marked `value`, or -1.
ZVEXPORT int32_t ZVAPI plFindMark(Playlist pl, int32_t value);
// Sets every mark to 0.
ZVEXPORT void ZVAPI plDelMarks(Playlist pl);

// ---- Files (binary "ZVPL0010", M3U, PLS, AAP, Z3U, directories). UI thread. ----

// Replaces the lines with what `location` holds; returns plResult*.
ZVEXPORT int32_t ZVAPI plLoad(Playlist pl, const char* location, uint32_t flags);
// Writes the playlist to `location`; returns plResult*.
ZVEXPORT int32_t ZVAPI plSave(Playlist pl, const char* location, uint32_t flags);
// Reads a binary playlist at the position of an open file handle; 1, or 0
// for an invalid handle or a wrong magic.
ZVEXPORT int32_t ZVAPI plLoadFromHandle(Playlist pl, void* file);
// Writes a binary playlist at the position of an open file handle; 1, or 0.
ZVEXPORT int32_t ZVAPI plSaveToHandle(Playlist pl, void* file);

// ---- Sorting, searching and play times. UI thread. ----

// Reorders the first `count` entries (-1: the line count) of the caller's
// index array of line numbers by the keys of `mode`.
ZVEXPORT void ZVAPI plSortIndex(Playlist pl, int32_t mode, int32_t* index, int32_t count);
// Sorts lines first..last in place (-1 for either: the whole playlist).
ZVEXPORT void ZVAPI plSort(Playlist pl, int32_t mode, int32_t first, int32_t last);
// Fills time, files and size of every group line from its direct children.
ZVEXPORT void ZVAPI plCalcTimes(Playlist pl);
// In an index sorted by full name (mode 1), the first and last positions
// whose line's name equals `name` ignoring case; both -1 if none.
ZVEXPORT void ZVAPI plFind(Playlist pl, const char* name, const int32_t* index, int32_t* lo, int32_t* hi);

// ---- Adding and removing locations. UI thread. ----

// Appends the lines for `location`, expanding groups recursively.
ZVEXPORT void ZVAPI plAddFile(Playlist pl, const char* location, uint32_t flags);
// As plAddFile, inserted before index with levels shifted by `shift`.
ZVEXPORT void ZVAPI plInsFile(Playlist pl, int32_t index, const char* location, uint32_t flags, int32_t shift);
// Replaces every branch headed by `location` (ignoring case) with a fresh expansion.
ZVEXPORT void ZVAPI plReloadFile(Playlist pl, const char* location);
// The same for the branch of line index.
ZVEXPORT void ZVAPI plReloadBranch(Playlist pl, int32_t index);
// Deletes every branch headed by `location` (ignoring case).
ZVEXPORT void ZVAPI plDelFile(Playlist pl, const char* location);
// Deletes the branch of line index.
ZVEXPORT void ZVAPI plDelBranch(Playlist pl, int32_t index);

#ifdef __cplusplus
}
#endif
