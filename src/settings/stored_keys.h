// How an ANSI settings file spells its keys. The three Japanese keys are fixed as Shift-JIS bytes,
// as Japanese systems have always written them, whatever code page the system in use has.
#pragma once

#include <optional>
#include <string>

namespace kineloop {

// The bytes of `key` (UTF-8) in an ANSI settings file: the Shift-JIS bytes of a Japanese key, an
// ASCII key as it is; nothing for any other key.
std::optional<std::string> AnsiKeyName(const std::string& key);

}  // namespace kineloop
