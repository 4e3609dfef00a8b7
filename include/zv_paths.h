// Path and shell utilities of zvengine.dll: classifying locations, the
// relative form stored in playlist files, shell shortcuts, file icons and the
// notification-area (tray) icon. Locations are 8-bit texts with '\' as the
// separator. Booleans are -1 / 0. Classification and path conversion may be
// called from any thread; the tray calls belong to the thread of `window`.
#pragma once
#include "zv_base.h"

#ifdef __cplusplus
extern "C" {
#endif

// True if `ext` (with its dot) is ".m3u", ".pls", ".aap", ".z3u" or ".m3u8"
// (an M3U in UTF-8), any case.
ZVEXPORT ZvBool ZVAPI isPlaylistExt(const char* ext);
// True if the extension of `path` is a playlist extension.
ZVEXPORT ZvBool ZVAPI isPlaylist(const char* path);
// True if the extension of `path` is ".z3u", any case.
ZVEXPORT ZvBool ZVAPI isZ3U(const char* path);
// True if the extension of `path` is ".lnk", any case.
ZVEXPORT ZvBool ZVAPI isLink(const char* path);
// True if the extension of `path` (from its last '.' after the last '\',
// dot included, else "") equals `ext`, ignoring case.
ZVEXPORT ZvBool ZVAPI hasExt(const char* path, const char* ext);
// True for a bare drive ("Q:", whether or not it exists) or an existing directory.
ZVEXPORT ZvBool ZVAPI isDir(const char* path);
// True if `path` has more than one character and starts with "\\" or with
// an ASCII letter and ':'.
ZVEXPORT ZvBool ZVAPI isLocalFile(const char* path);
// True for a pseudo-location such as "CD:\*.m3u": the first ":\" starts at
// the third character or later.
ZVEXPORT ZvBool ZVAPI isURL(const char* path);

// Writes the target of the shortcut file `path` into `target` (260 bytes).
// Resolving may show the shell's search window when the target has moved.
// On any failure `target` keeps what it held. Initialises COM for the call
// if the calling thread has not.
ZVEXPORT void ZVAPI resolveLink(const char* path, char* target);
// Writes into `out` (261 bytes) the form of the absolute location `path` to
// store in the playlist file `base`: relative to base's folder where both
// share a drive or UNC root and the form reads back to `path`, else `path`.
ZVEXPORT void ZVAPI makeRel(const char* base, const char* path, char* out);
// Writes into `out` (261 bytes) the location that the stored form `rel`
// names for the playlist file `base`; trailing '\' removed. Inverse of makeRel.
ZVEXPORT void ZVAPI decodeRel(const char* base, const char* rel, char* out);
// Writes the shell's large and small icons (HICON) of the file `path` into
// *largeIcon and *smallIcon (either may be null); the caller destroys them with
// DestroyIcon. Returns -1 if both icons were obtained.
ZVEXPORT ZvBool ZVAPI extractAssociatedIcon(const char* path, void** largeIcon, void** smallIcon);

// Adds a tray icon (`window` an HWND, `icon` an HICON) that sends `message`
// to `window`; the tip is cut to 63 bytes. Returns non-zero on success.
ZVEXPORT int32_t ZVAPI addTrayIcon(void* window, uint32_t id, uint32_t message, void* icon, const char* tip);
// Changes icon and tip of the tray icon (window, id). Non-zero on success.
ZVEXPORT int32_t ZVAPI editTrayIcon(void* window, uint32_t id, void* icon, const char* tip);
// Removes the tray icon (window, id). Non-zero on success.
ZVEXPORT int32_t ZVAPI delTrayIcon(void* window, uint32_t id);
// Shows a balloon on the tray icon (window, id): title up to 63 bytes, text up
// to 255, `infoFlags` the icon kind (NIIF_*), shown for `seconds`. Non-zero on success.
ZVEXPORT int32_t ZVAPI trayHintV5(void* window, uint32_t id, const char* title, const char* text, uint32_t infoFlags,
                                  uint32_t seconds);

#ifdef __cplusplus
}
#endif
