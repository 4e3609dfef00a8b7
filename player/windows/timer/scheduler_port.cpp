#include "scheduler_port.h"

#include <windows.h>

#include "win32/owners.h"


namespace zv::timer {
namespace {

using AddFn = BOOL(WINAPI*)(const char*, const char*, const char*);
using DelFn = BOOL(WINAPI*)();

template <class Fn>
Fn exportOf(const UniqueModule& module, const char* name) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module.get(), name))) : nullptr;
}

}  // namespace

bool ZvSchedLibrary::add(const std::string& date, const std::string& time, const std::string& program) {
  UniqueModule module(LoadLibraryA(library_.c_str()));
  AddFn fn = exportOf<AddFn>(module, "add");
  if (!fn) return false;
  if (!fn(date.c_str(), time.c_str(), program.c_str()))
    OutputDebugStringA(("zvsched add refused " + date + " " + time + ": " + std::to_string(GetLastError())).c_str());
  return true;
}

bool ZvSchedLibrary::del() {
  UniqueModule module(LoadLibraryA(library_.c_str()));
  DelFn fn = exportOf<DelFn>(module, "del");
  if (!fn) return false;
  if (!fn()) OutputDebugStringA(("zvsched del refused: " + std::to_string(GetLastError())).c_str());
  return true;
}

}  // namespace zv::timer
