// The folders the program keeps files in: its own (settings, scratch bitmap) and the per-user and
// temporary folders the scratch bitmap falls back to when its own cannot be written.
#pragma once

#include <string>

namespace kineloop {

// The folder of the running program file, without a trailing separator (UTF-16).
std::wstring ProgramFolder();

// The program's folder among the user's local application data (%LOCALAPPDATA%\Kineloop),
// without a trailing separator; it may not exist yet. Empty when the user has no such folder.
std::wstring PerUserFolder();

// The user's temporary folder, without a trailing separator; empty when there is none.
std::wstring TemporaryFolder();

}  // namespace kineloop
