// What the corpus test and its runner (corpus_runner.cpp) agree on.
#pragma once

#include <windows.h>

namespace kineloop::test {

// The runner's exit code when it ended itself with TerminateProcess, as the program does once the
// platform hung: a thread is left stuck in it. (Not 3, which is what abort gives.)
inline constexpr DWORD kRunnerTerminated = 75;

}  // namespace kineloop::test
