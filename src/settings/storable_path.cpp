// Which form of a chosen file's path can go into the settings file, whose code page may not hold
// every character of a name.
#include "settings/storable_path.h"

namespace kineloop {

std::optional<std::string> StorablePathOf(
    const std::string& path, const std::function<bool(const std::string&)>& fitsFile,
    const std::function<std::string(const std::string&)>& shortForm) {
    if (path.empty())
        return std::nullopt;
    if (fitsFile(path))
        return path;
    const std::string alias = shortForm(path);
    if (!alias.empty() && alias != path && fitsFile(alias))
        return alias;
    return std::nullopt;
}

}  // namespace kineloop
