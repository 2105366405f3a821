// Which form of a chosen file's path can go into the settings file, whose code page may not hold
// every character of a name.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace kineloop {

// The path itself when `fitsFile` says the settings file holds it exactly, else its short form
// (`shortForm`, empty where the volume keeps no short names) when that fits; nothing when neither
// does, and the choice must then be refused. Never a path that only looks like the file's.
std::optional<std::string> StorablePathOf(
    const std::string& path, const std::function<bool(const std::string&)>& fitsFile,
    const std::function<std::string(const std::string&)>& shortForm);

}  // namespace kineloop
