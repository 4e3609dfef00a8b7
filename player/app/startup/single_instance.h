// One running copy: the named mutex "Zorvak_prg_mutex". Creating it and
// asking whether it already existed is one step, so two copies started
// together cannot both believe they are the first.
#pragma once
#include <optional>

#include "win32/owners.h"

namespace zv {

constexpr char kInstanceMutexName[] = "Zorvak_prg_mutex";
// Exit code of a second copy.
constexpr int kSecondCopyExitCode = 255;

// The mutex (not owned; kept until the process ends) when this is the first
// copy; nullopt when another copy holds it.
std::optional<UniqueKernelHandle> claimSingleInstance(const char* name = kInstanceMutexName);

}  // namespace zv
