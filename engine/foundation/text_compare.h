// Ordering texts of the active code page the way the user's locale orders
// them, ignoring case.
#pragma once
#include <string_view>

namespace zv {

// Less than, equal to or greater than 0 as `a` sorts before, with or after
// `b` ignoring case (CompareString with NORM_IGNORECASE). CompareStringA
// reads its bytes in the locale's own code page, which under the UTF-8
// active code page is not the active one (measured under Wine 8: "ωδή" and
// "ΩΔΉ", "café" and "CAFÉ" came out different), so there the texts are
// compared as UTF-16.
int compareTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace zv
