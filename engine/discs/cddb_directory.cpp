#include "discs/cddb_directory.h"

#include "foundation/config_store.h"
#include "foundation/standard_dirs.h"

namespace zv {

std::string cddbDirectory() { return configText("cddbDir", baseDirectory() + "\\cddb"); }

}  // namespace zv
