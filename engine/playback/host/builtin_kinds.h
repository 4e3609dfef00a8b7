// The kinds built into the engine: their records in the kind list and the
// life of their instance threads. Which kinds there are, in which order, is
// the engine's choice above the host (exports/engine_kinds.cpp).
#pragma once
#include <windows.h>

#include <span>

#include "playback/host/instance_runner.h"
#include "zv_decoder.h"
#include "zv_plugins.h"

namespace zv {

struct BuiltinKind {
  const char* name;
  uint32_t flags;
  const char* description;  // localised string
  const char* priorityKey;  // null: fixed above normal
  int32_t defaultPriority;
  LPTHREAD_START_ROUTINE thread;   // the instance thread (runKindInstance)
  ZvInPluginInfoFn inPluginInfo;   // the kind's answers; null where it has none
  ZvInCheckFileFn inCheckFile;
  ZvFsControlFn fsControl;
};

constexpr size_t kBuiltinKindCount = 5;

// Registers the kinds in table order; the table must outlive the engine.
void registerBuiltinKinds(std::span<const BuiltinKind, kBuiltinKindCount> kinds);

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
