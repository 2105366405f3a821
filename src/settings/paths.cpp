// Path rules shared by the settings loader and the settings dialog.
#include "settings/paths.h"

namespace kineloop {

// The texts are UTF-8, whose multi-byte sequences never contain ':' or '\', so a byte search is
// safe (unlike in Shift-JIS, where '\' can be the second byte of a character).
std::string FolderOf(const std::string& path) {
    const size_t last = path.find_last_of(":\\");
    if (last == std::string::npos)
        return {};
    return WithoutTrailingSeparator(path.substr(0, last + 1));
}

std::string WithoutTrailingSeparator(const std::string& path) {
    if (!path.empty() && path.back() == '\\')
        return path.substr(0, path.size() - 1);
    return path;
}

}  // namespace kineloop
