#include "foundation/engine_module.h"

namespace zv {
namespace {

HMODULE g_self = nullptr;

}  // namespace

void setEngineModule(HMODULE self) { g_self = self; }

HMODULE engineModule() { return g_self; }

}  // namespace zv
