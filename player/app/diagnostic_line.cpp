#include "diagnostic_line.h"

#include <windows.h>

#include <cstdio>

namespace zv {

void writeDiagnosticLine(const std::string& text) {
  const std::string line = text + "\n";
  OutputDebugStringA(line.c_str());
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
}

}  // namespace zv
