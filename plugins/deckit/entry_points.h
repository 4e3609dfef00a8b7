// Defines a decoder library's exported entry points, forwarding to deckit.
// Used once in each plug-in's exports source, so the functions are compiled
// into the plug-in's own objects (its export table is checked against them).
#pragma once
#include "plugin_entry.h"

#define DECKIT_ENTRY_POINTS(def)                                                            \
  ZVEXPORT int32_t ZVAPI comPluginInfo(ZvPluginInfoBlock* b) { return deckit::pluginInfo(def, b); } \
  ZVEXPORT int32_t ZVAPI inPluginInfo(ZvInputInfoBlock* b) { return deckit::inputInfo(def, b); }    \
  ZVEXPORT int32_t ZVAPI inCheckFile(ZvFileCheckRec* r) { return deckit::checkFile(def, r); }       \
  ZVEXPORT int32_t ZVAPI decOpen(ZvDecOpenRec* r) { return deckit::openFile(def, r); }              \
  ZVEXPORT int32_t ZVAPI decRead(ZvDecReadRec* r) { return deckit::readFile(r); }                   \
  ZVEXPORT int32_t ZVAPI decSeek(ZvDecSeekRec* r) { return deckit::seekFile(r); }                   \
  ZVEXPORT int32_t ZVAPI decClose(ZvDecCloseRec* r) { return deckit::closeFile(r); }
