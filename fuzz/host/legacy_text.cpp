// The host's stand-in for the legacy text conversion: its one code page is
// the active one and never UTF-8 (win/windows.h), where the engine converts
// nothing either.
#include "foundation/legacy_text.h"

namespace zv {

bool convertStoredText(std::string&, unsigned) { return false; }

}  // namespace zv
