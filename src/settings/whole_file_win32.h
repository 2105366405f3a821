// A small file read or written whole, in one call each way.
#pragma once

#include <optional>
#include <string>

namespace kineloop {

// The whole file, an empty text when there is none, nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::wstring& path);

// Creates or empties the file and writes `bytes`, through to the disk; false on any failure.
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);

}  // namespace kineloop
