// Path rules shared by the settings loader and the settings dialog.
#pragma once

#include <string>

namespace kineloop {

// The folder part of a path: up to its last ":" or "\", without a final "\".
// C:\Movies\clip.avi -> C:\Movies, C:\clip.avi -> C:, D:clip.avi -> D:, clip.avi -> "".
std::string FolderOf(const std::string& path);

// The path with one trailing "\" removed, as FileExists opens it.
std::string WithoutTrailingSeparator(const std::string& path);

}  // namespace kineloop
