// The program's title: it captions every message box of the program.
#pragma once

namespace kineloop {

inline constexpr char kProgramTitle[] = "Kineloop";

}  // namespace kineloop
