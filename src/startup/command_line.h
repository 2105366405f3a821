// How the screen-saver host's command line selects the mode and, for the preview, the host window.
#pragma once

#include <cstdint>
#include <string>

namespace kineloop {

// The argument text of a full command line: what follows the (possibly quoted) program name,
// without the blanks that separate the two.
std::string ArgumentText(const std::string& commandLine);

// The preview's host window handle: the argument text from its fourth character on, read as a
// decimal number (leading blanks skipped, reading stops at the first character that does not
// belong to the number). No digits, or a value outside 32 bits, give 0.
int32_t HostHandle(const std::string& argumentText);

enum class StartMode {
    Preview,   // "P": the still picture inside the host's preview box
    Settings,  // "C": the settings dialog
    Show,      // "S": the show, with the cursor hidden
    ShowAsIs,  // no argument at all: the show, with the cursor left visible
    End,       // anything else: end after loading the settings
};

StartMode ModeOf(const std::string& argumentText);

}  // namespace kineloop
