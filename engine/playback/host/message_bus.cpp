// The message bus: every message carries a copy of the sender's data in an
// engine block, which the receiver releases with finishMsg.
#include <windows.h>

#include <atomic>
#include <cstring>

#include "foundation/diagnostics.h"
#include "foundation/memory.h"
#include "foundation/system_probes.h"
#include "playback/host/plugin_host.h"
#include "zv_memory.h"
#include "zv_plugins.h"

namespace zv {
namespace {

// A target that died keeps failing every post sent to it (a broadcast filter
// of a closed window, say); one line a second is enough to tell.
constexpr ULONGLONG kDropLineIntervalMs = 1000;
std::atomic<ULONGLONG> g_lastDropLine{0};

void reportDroppedMessage(ZvTarget target, UINT code, DWORD error) {
  long total = countDroppedMessage();
  ULONGLONG now = GetTickCount64();
  ULONGLONG last = g_lastDropLine.load();
  if (last != 0 && now - last < kDropLineIntervalMs) return;
  if (!g_lastDropLine.compare_exchange_strong(last, now)) return;  // another thread writes this second's line
  debugWriteLinef("Message bus: message %u to %llu (0x%llX) not posted (error %lu); %ld dropped so far", code,
                  static_cast<unsigned long long>(target), static_cast<unsigned long long>(target), error, total);
}

}  // namespace

bool postToTarget(ZvTarget target, UINT code, WPARAM from, void* block) {
  LPARAM lp = reinterpret_cast<LPARAM>(block);
  bool posted;
  if (isNtPlatform()) {
    posted = PostThreadMessageA(static_cast<DWORD>(target), code, from, lp) ||
             PostMessageA(reinterpret_cast<HWND>(target), code, from, lp);
  } else if (target & 0xFF000000u) {
    posted = PostThreadMessageA(static_cast<DWORD>(target), code, from, lp);
  } else {
    posted = PostMessageA(reinterpret_cast<HWND>(target), code, from, lp);
  }
  if (posted) {
    countPostedMessage();
  } else {
    DWORD error = GetLastError();
    _mfree(block);  // nobody will ever finish it
    reportDroppedMessage(target, code, error);
  }
  return posted;
}

namespace {

void* copyBlock(const void* data, int32_t length, const char* tag) {
  if (length <= 0) return nullptr;
  void* block = mallocex(length, tag);
  if (block && data) std::memcpy(block, data, static_cast<size_t>(length));
  return block;
}

}  // namespace
}  // namespace zv

using namespace zv;

ZVEXPORT void ZVAPI pluginMsgFrom(ZvTarget from, ZvTarget target, uint32_t code, const void* data, int32_t length) {
  guardedVoid("pluginMsg", [&] {
    if (target != 0) {
      postToTarget(target, code, from, copyBlock(data, length, "msg"));
      return;
    }
    for (const auto& [to, tag] : broadcastTargets(code)) postToTarget(to, code, from, copyBlock(data, length, tag));
  });
}

ZVEXPORT void ZVAPI pluginMsg(ZvTarget target, uint32_t code, const void* data, int32_t length) {
  pluginMsgFrom(GetCurrentThreadId(), target, code, data, length);
}

ZVEXPORT void ZVAPI pluginMsgX(ZvTarget target, uint32_t code) {
  pluginMsgFrom(GetCurrentThreadId(), target, code, nullptr, 0);
}

ZVEXPORT void ZVAPI pluginMsgFromX(ZvTarget from, ZvTarget target, uint32_t code) {
  pluginMsgFrom(from, target, code, nullptr, 0);
}

ZVEXPORT void ZVAPI getMsgPrm(const struct tagMSG* message, void* destination) {
  guardedVoid("getMsgPrm", [&] {
    if (!message || !destination || !message->lParam) return;
    if (message->message < ZV_BUS_FIRST || message->message > ZV_BUS_LAST) return;
    void* block = reinterpret_cast<void*>(message->lParam);
    int32_t size = _mgetsize(block);
    if (size > 0) std::memcpy(destination, block, static_cast<size_t>(size));
  });
}

ZVEXPORT void ZVAPI finishMsg(const struct tagMSG* message) {
  guardedVoid("finishMsg", [&] {
    if (!message) return;
    if (message->message > msgPluginQuit && message->message <= ZV_BUS_LAST)
      _mfree(reinterpret_cast<void*>(message->lParam));
  });
}
