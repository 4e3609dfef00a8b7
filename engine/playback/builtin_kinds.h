// The five kinds built into the engine, registered by initPlugins in this
// order: vis, winampvis, cdaudio, decode, insampler.
#pragma once
#include <windows.h>

#include "playback/instance_runner.h"
#include "zv_plugins.h"

namespace zv {

void registerBuiltinKinds();

// The first thing every built-in instance thread does with its argument:
// makes its message queue, sets its priority and releases the creator, which
// waits for exactly this. The argument is gone afterwards.
void beginKindThread(void* startArgument);

// Reads the kind's priority key again and applies it to the calling thread.
void applyKindPriority(const char* kindName);

// Writes the diagnostic line of an exception caught in a built-in thread,
// headed by the kind's localised name.
void reportKindException(const char* kindName, const char* className, const char* message);

// The whole life of a built-in instance thread: the start-up handshake, then
// the instance made and run by the instance runner; every exception (its
// construction's included) becomes a diagnostic line headed by the kind's
// localised name.
template <class Instance>
DWORD runKindInstance(void* startArgument, const char* kindName) {
  beginKindThread(startArgument);
  runInstance<Instance>(kindName, reportKindException);
  return 0;
}

}  // namespace zv
