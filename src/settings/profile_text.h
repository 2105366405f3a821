// Finds and puts keys in the text of a profile file ("[Section]" headers, "key=value" lines); a
// put leaves every other byte as it was: other sections, comments, blank lines, spacing and line
// endings.
#pragma once

#include <optional>
#include <string>

namespace kineloop {

// Sets `key` of the first section named `section` (names and keys compare without regard to the
// case of ASCII letters, blanks around them ignored) to `value`, in the file's own encoding, which
// must keep '[', ']', '=', ';', blanks, CR and LF as single bytes (an ANSI code page or UTF-8).
// An existing key line keeps everything up to its "=" and gets the new value; a missing key is
// added after the section's last line that is not blank; a missing section is added at the end.
// New lines end in CR LF.
std::string PutProfileKey(const std::string& text, const std::string& section,
                          const std::string& key, const std::string& value);

// The value of the key line that PutProfileKey would change, without the blanks around it and
// without one pair of quotes around the whole; nothing when there is no such line.
std::optional<std::string> GetProfileKey(const std::string& text, const std::string& section,
                                         const std::string& key);

}  // namespace kineloop
