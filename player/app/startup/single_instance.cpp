#include "startup/single_instance.h"

namespace zv {

std::optional<UniqueKernelHandle> claimSingleInstance(const char* name) {
  SetLastError(ERROR_SUCCESS);
  UniqueKernelHandle mutex(CreateMutexA(nullptr, FALSE, name));
  // A mutex that cannot be made at all (another object holds the name) also
  // means another copy.
  if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) return std::nullopt;
  return mutex;
}

}  // namespace zv
