// The player's fixed texts that hold characters beyond ASCII are written as
// bytes of Windows-1252, the code page of the program's texts: the en dash
// 0x96 (the placeholder "\x96\x96:\x96\x96", the title's separator, the
// "(Num\x96)" key name) and the em dash 0x97 (the group label). Under the
// UTF-8 active code page of the player's manifest such a byte would be no
// character at all, so they are converted to the characters they stand
// for; under a legacy active code page they stay the bytes they are.
#pragma once
#include <string>
#include <string_view>

namespace zv {

// `windows1252` in the active code page (0: GetACP) as described above.
std::string programText(std::string_view windows1252, unsigned activeCodePage = 0);

}  // namespace zv
