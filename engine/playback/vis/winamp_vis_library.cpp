#include "playback/vis/winamp_vis_library.h"

namespace zv {
namespace {

struct LoadCall {
  ZvWinampVisGetHeaderFn getHeader;
  int32_t index;
  ZvWinampVisModule* module;
};

void takeModule(void* argument) {
  auto* call = static_cast<LoadCall*>(argument);
  ZvWinampVisHeader* header = call->getHeader();
  if (header && header->getModule) call->module = header->getModule(call->index);
}

enum class Entry { Config, Init, Render, Quit };

struct ModuleCall {
  ZvWinampVisModule* module;
  Entry entry;
  int32_t result;
};

void callEntry(void* argument) {
  auto* call = static_cast<ModuleCall*>(argument);
  ZvWinampVisModule* m = call->module;
  switch (call->entry) {
    case Entry::Config: m->Config(m); break;
    case Entry::Init: call->result = m->Init(m); break;
    case Entry::Render: call->result = m->Render(m); break;
    case Entry::Quit: m->Quit(m); break;
  }
}

bool hasEntry(const ZvWinampVisModule* m, Entry e) {
  switch (e) {
    case Entry::Config: return m->Config != nullptr;
    case Entry::Init: return m->Init != nullptr;
    case Entry::Render: return m->Render != nullptr;
    case Entry::Quit: return m->Quit != nullptr;
  }
  return false;
}

bool guardedEntry(ZvWinampVisModule* m, Entry e, int32_t& result, OutsideFault& fault, bool& faulted) {
  faulted = false;
  if (!m || !hasEntry(m, e)) return false;
  ModuleCall call = {m, e, 0};
  if (!callOutside(callEntry, &call, fault)) {
    faulted = true;
    return false;
  }
  result = call.result;
  return true;
}

}  // namespace

bool WinampVisLibrary::load(const std::string& path, int32_t index, OutsideFault* fault) {
  release();
  if (path.empty()) return false;
  library_.reset(LoadLibraryA(path.c_str()));
  if (!library_) return false;
  LoadCall call = {reinterpret_cast<ZvWinampVisGetHeaderFn>(
                       reinterpret_cast<void*>(GetProcAddress(library_.get(), "winampVisGetHeader"))),
                   index, nullptr};
  OutsideFault ignored;
  if (call.getHeader && callOutside(takeModule, &call, fault ? *fault : ignored) && call.module) {
    module_ = call.module;
    return true;
  }
  release();
  return false;
}

void WinampVisLibrary::release() {
  module_ = nullptr;
  library_.reset();
}

bool WinampVisLibrary::config(OutsideFault& fault, bool& faulted) {
  int32_t unused = 0;
  return guardedEntry(module_, Entry::Config, unused, fault, faulted);
}

bool WinampVisLibrary::init(int32_t& result, OutsideFault& fault, bool& faulted) {
  return guardedEntry(module_, Entry::Init, result, fault, faulted);
}

bool WinampVisLibrary::render(OutsideFault& fault, bool& faulted) {
  int32_t unused = 0;
  return guardedEntry(module_, Entry::Render, unused, fault, faulted);
}

bool WinampVisLibrary::quit(OutsideFault& fault, bool& faulted) {
  int32_t unused = 0;
  return guardedEntry(module_, Entry::Quit, unused, fault, faulted);
}

}  // namespace zv
