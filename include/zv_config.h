// Configuration store and system probes of zvengine.dll.
// Settings live in the registry (HKCU "\Software\Dovrik\ZvEngine\<section>")
// until setConfigMode switches to file backing ("config.dat" in the user
// directory, records as "<name>.dat"). Reads never fail: any problem gives
// the caller's default. Writes swallow failures. No locks: call from the
// thread that owns the settings (engine threads only read).
#pragma once
#include "zv_base.h"

#ifdef __cplusplus
extern "C" {
#endif

// Copies the string value `name` (or `def` when missing) into `buffer`, which
// must hold 260 bytes; longer values are cut to 259 bytes plus NUL.
ZVEXPORT void ZVAPI configString(const char* name, char* buffer, const char* def);
// Writes a string value.
ZVEXPORT void ZVAPI setConfigString(const char* name, const char* value);
// Reads a signed 32-bit integer ("0x.." is hexadecimal); `def` if missing or malformed.
ZVEXPORT int32_t ZVAPI configInt(const char* name, int32_t def);
// Writes an integer as decimal text.
ZVEXPORT void ZVAPI setConfigInt(const char* name, int32_t value);
// Reads a boolean: -1 or 0; `def` (any non-zero is true) if missing.
ZVEXPORT ZvBool ZVAPI configBool(const char* name, ZvBool def);
// Writes a boolean as "1" or "0".
ZVEXPORT void ZVAPI setConfigBool(const char* name, ZvBool value);
// Reads a binary record into `buffer`; -1 only when the stored record is
// exactly `length` bytes long, else 0 with the buffer left untouched (a record
// whose layout changed between versions is ignored, not misread).
ZVEXPORT ZvBool ZVAPI configRec(const char* name, void* buffer, int32_t length);
// Writes a binary record. In file backing the ".dat" file is replaced only
// once the new content is completely written (a read-only one too); on a
// failure the old record stays.
ZVEXPORT void ZVAPI setConfigRec(const char* name, const void* data, int32_t length);
// Sets the section and backing (non-zero = file). Returns 1 for file backing, else 0.
ZVEXPORT int32_t ZVAPI setConfigMode(const char* section, int32_t mode);
// Shows the folder browser with `path` (260 bytes) preselected; on OK writes the
// chosen folder without trailing backslash and returns non-zero if non-empty.
ZVEXPORT ZvBool ZVAPI selectFolder(void* owner, const char* title, char* path);
// Creates every directory along `path` ("\\" or "/" separated); failures
// (existing folders, "C:") are ignored.
ZVEXPORT void ZVAPI createPath(const char* path);

// Versions of the shell libraries as major*100+minor (0 without a version resource).
ZVEXPORT int32_t ZVAPI shellVer(void);
ZVEXPORT int32_t ZVAPI comctlVer(void);
ZVEXPORT int32_t ZVAPI comdlgVer(void);
ZVEXPORT int32_t ZVAPI shlwapiVer(void);
// Platform tests: -1 or 0.
ZVEXPORT ZvBool ZVAPI isWin98(void);
ZVEXPORT ZvBool ZVAPI isWin2K(void);
ZVEXPORT ZvBool ZVAPI isWinXP(void);

#ifdef __cplusplus
}
#endif
