// One outside visualisation library loaded for one of its modules, held
// until unload() or destruction. Every call into the library goes through
// the fault guard.
#pragma once
#include <windows.h>

#include <string>

#include "playback/vis/fault_guard.h"
#include "win32/owners.h"
#include "zv_vis.h"

namespace zv {

class WinampVisLibrary {
 public:
  WinampVisLibrary() = default;
  ~WinampVisLibrary() { release(); }
  WinampVisLibrary(const WinampVisLibrary&) = delete;
  WinampVisLibrary& operator=(const WinampVisLibrary&) = delete;

  // Loads the library and takes module `index` through winampVisGetHeader and
  // the header's getModule. False, with nothing held, when a step fails
  // (including a fault in the library); `fault` tells whether one happened.
  bool load(const std::string& path, int32_t index, OutsideFault* fault = nullptr);
  // Frees the library without calling into the module.
  void release();

  bool loaded() const { return module_ != nullptr; }
  HMODULE handle() const { return library_.get(); }
  ZvWinampVisModule* module() const { return module_; }

  // The module's entry points under the fault guard. False when the entry is
  // missing or faulted (`faulted` then tells which); `result` for Init/Render.
  bool config(OutsideFault& fault, bool& faulted);
  bool init(int32_t& result, OutsideFault& fault, bool& faulted);
  bool render(OutsideFault& fault, bool& faulted);
  bool quit(OutsideFault& fault, bool& faulted);

 private:
  UniqueModule library_;
  ZvWinampVisModule* module_ = nullptr;
};

}  // namespace zv
