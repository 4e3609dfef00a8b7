// The kinds built into the engine: their records in the kind list and the
// life of their instance threads. Which kinds there are, in which order, is
// the engine's choice above the host (exports/engine_kinds.cpp).
#pragma once
#include <windows.h>

#include <exception>
#include <span>
#include <typeinfo>

#include "zv_decoder.h"
#include "zv_plugins.h"

namespace zv {

// What a built-in instance thread does with one message taken from its queue
// (WM_QUIT and msgPluginQuit end the thread before it gets here). The handler
// reads its parameter block with getMsgPrm; the thread calls finishMsg after.
using KindMessageHandler = void (*)(const MSG& msg);

struct BuiltinKind {
  const char* name;
  uint32_t flags;
  const char* description;  // localised string
  const char* priorityKey;  // null: fixed above normal
  int32_t defaultPriority;
  KindMessageHandler handler;      // for the common message loop
  LPTHREAD_START_ROUTINE thread;   // a kind with a loop of its own, else null
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

// The whole life of a built-in instance thread with its own loop: the
// start-up handshake, then Instance().run(); an exception that escapes the
// instance (its construction included) ends the thread with a diagnostic.
template <class Instance>
DWORD runKindInstance(void* startArgument, const char* kindName) {
  beginKindThread(startArgument);
  try {
    Instance instance;
    instance.run();
  } catch (const std::exception& e) {
    reportKindException(kindName, typeid(e).name(), e.what());
  } catch (...) {
    reportKindException(kindName, "unknown", "");
  }
  return 0;
}

// Runs `handle` for one message under the kind's exception guard (one bad
// message never ends the instance), then finishes the message.
template <class Handler>
void handleKindMessage(const char* kindName, const MSG& msg, Handler&& handle) {
  try {
    handle(msg);
  } catch (const std::exception& e) {
    reportKindException(kindName, typeid(e).name(), e.what());
  } catch (...) {
    reportKindException(kindName, "unknown", "");
  }
  finishMsg(&msg);
}

}  // namespace zv
