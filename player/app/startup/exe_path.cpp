#include "startup/exe_path.h"

#include "win32/owners.h"

namespace zv {

bool writeExePath(HKEY root, const std::string& exePath) {
  UniqueRegKey key;
  if (RegCreateKeyExA(root, "Software\\Dovrik\\Zorvak", 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr) !=
      ERROR_SUCCESS)
    return false;
  return RegSetValueExA(key.get(), "ExePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(exePath.c_str()),
                        static_cast<DWORD>(exePath.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace zv
