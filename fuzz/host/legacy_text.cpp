// The host's stand-in for the legacy text conversion: its one code page is
// the active one and never UTF-8 (win/windows.h), where the engine converts
// nothing either.
#include "foundation/legacy_text.h"

namespace zv {

bool convertStoredText(std::string&, unsigned) { return false; }

// Reached only under a UTF-8 active code page, which the host never has; an
// unoptimised build (the coverage build) still links the calls.
bool isValidUtf8(std::string_view) { return false; }
unsigned legacyAnsiCodePage() { return 1252; }

}  // namespace zv

namespace zv {

// Under a legacy active code page the engine hands the bytes back unchanged.
ActiveText fileTextToActive(std::string_view bytes, bool, unsigned, unsigned) {
  return {std::string(bytes), TextOrigin::asIs};
}

}  // namespace zv
