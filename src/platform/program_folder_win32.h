// Where the program file lives: the settings file and the scratch bitmap are kept beside it.
#pragma once

#include <string>

namespace kineloop {

// The folder of the running program file, without a trailing separator (UTF-16).
std::wstring ProgramFolder();

}  // namespace kineloop
