// The five kinds built into the engine, registered by initPlugins in this
// order: vis, winampvis, cdaudio, decode, insampler.
#pragma once
#include <windows.h>

#include "zv_plugins.h"

namespace zv {

void registerBuiltinKinds();

// What a built-in instance thread does with one message taken from its queue
// (WM_QUIT and msgPluginQuit end the thread before it gets here). The handler
// reads its parameter block with getMsgPrm; the thread calls finishMsg after.
using KindMessageHandler = void (*)(const MSG& msg);

}  // namespace zv
