// The program's version, as the About window and the users' documentation
// name it.
#pragma once

namespace zv {

inline constexpr char kProgramName[] = "Zorvak";
inline constexpr char kProgramVersion[] = "0.9.0";

}  // namespace zv
