// How an ANSI settings file spells its keys. The three Japanese keys are fixed as Shift-JIS bytes,
// as Japanese systems have always written them, whatever code page the system in use has.
#include "settings/stored_keys.h"

#include "settings/saver_settings.h"

namespace kineloop {

namespace {

struct JapaneseKey {
    const char* utf8;
    const char* shiftJis;
};

// A Western, Chinese or Korean code page has no form of these names, or another one: through it
// the keys would be lost on load and refused on save.
constexpr JapaneseKey kJapaneseKeys[] = {
    {settings_keys::kBgmKind, "BGM\x8B\xE6\x95\xAA"},
    {settings_keys::kBgmRepeat, "BGM\xD8\xCB\xDF\xB0\xC4"},
    {settings_keys::kBgmFile, "BGM\xCC\xA7\xB2\xD9"},
};

bool IsAscii(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

}  // namespace

std::optional<std::string> AnsiKeyName(const std::string& key) {
    for (const JapaneseKey& known : kJapaneseKeys)
        if (key == known.utf8)
            return std::string(known.shiftJis);
    if (IsAscii(key))
        return key;
    return std::nullopt;
}

}  // namespace kineloop
