// How loading finds and a save puts keys in the settings file's text, and which path forms the
// file can hold.
#include <gtest/gtest.h>

#include "settings/profile_text.h"
#include "settings/storable_path.h"

namespace kineloop {
namespace {

TEST(PutProfileKey, ChangesOnlyTheKeysLineOrAddsItToItsSection) {
    struct Row {
        const char* what;
        std::string before, key, value, after;
    };
    const Row rows[] = {
        {"new file", "", "Fast", "10", "[Section]\r\nFast=10\r\n"},
        {"in place, spacing kept", "[Section]\r\nFast = 40\r\nRate=1\r\n", "fast", "7",
         "[Section]\r\nFast =7\r\nRate=1\r\n"},
        {"added after the last line, before blank lines and the next section",
         "; note\r\n[section]\r\nRate=1\r\n\r\n[Other]\r\nFast=3\r\n", "Fast", "9",
         "; note\r\n[section]\r\nRate=1\r\nFast=9\r\n\r\n[Other]\r\nFast=3\r\n"},
        {"comment and bare line are no keys", "[Section]\n;Fast=1\nFast\n", "Fast", "2",
         "[Section]\n;Fast=1\nFast\nFast=2\r\n"},
        {"last line without an ending", "[Section]\r\nRate=1", "Fast", "2",
         "[Section]\r\nRate=1\r\nFast=2\r\n"},
        {"section added after the others", "[Other]\r\nx=1", "Fast", "2",
         "[Other]\r\nx=1\r\n[Section]\r\nFast=2\r\n"},
        {"first of two sections", "[Section]\r\n[ Section ]\r\nFast=1\r\n", "Fast", "2",
         "[Section]\r\nFast=2\r\n[ Section ]\r\nFast=1\r\n"},
        // Shift-JIS: "BGM区分" and "BGMﾘﾋﾟｰﾄ" differ; non-ASCII names compare exactly.
        {"Shift-JIS keys", "[Section]\r\nBGM\x8B\xE6\x95\xAA=0\r\n", "BGM\xD8\xCB\xDF\xB0\xC4", "3",
         "[Section]\r\nBGM\x8B\xE6\x95\xAA=0\r\nBGM\xD8\xCB\xDF\xB0\xC4=3\r\n"},
        {"Shift-JIS value with a trail byte 0x5C", "[Section]\r\nAVI_File=x\r\n", "AVI_File",
         "C:\\\x95\x5C.avi", "[Section]\r\nAVI_File=C:\\\x95\x5C.avi\r\n"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(PutProfileKey(row.before, "Section", row.key, row.value), row.after) << row.what;
}

TEST(GetProfileKey, FindsTheLineThatAPutWouldChange) {
    struct Row {
        const char* what;
        std::string text, key;
        std::optional<std::string> expected;
    };
    const Row rows[] = {
        {"blanks around key and value", "[Section]\r\n  fast =  40 \r\n", "Fast", "40"},
        {"quotes around the whole", "[Section]\r\nA=\"C:\\x y\"\r\nB='1\"\n", "A", "C:\\x y"},
        {"unmatched quotes stay", "[Section]\r\nA=\"C:\\x y\"\r\nB='1\"\n", "B", "'1\""},
        {"other section only", "[Other]\r\nFast=1\r\n[Section]\r\nRate=0", "Fast", std::nullopt},
        {"first of two sections", "[Section]\r\nFast=2\r\n[Section]\r\nFast=3", "Fast", "2"},
        {"comment and bare line", "[Section]\n;Fast=1\nFast\nFast=4", "Fast", "4"},
        // "BGMﾘﾋﾟｰﾄ" ends in a byte that Chinese and Korean code pages take for a lead byte.
        {"Shift-JIS key before \"=\"",
         "[Section]\r\nBGM\x8B\xE6\x95\xAA=2\r\nBGM\xD8\xCB\xDF\xB0\xC4=3\r\n",
         "BGM\xD8\xCB\xDF\xB0\xC4", "3"},
        {"Shift-JIS value with a trail byte 0x5C", "[Section]\r\nAVI_File=C:\\\x95\x5C.avi",
         "AVI_File", "C:\\\x95\x5C.avi"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(GetProfileKey(row.text, "Section", row.key), row.expected) << row.what;

    // What a put writes, a get finds.
    std::string text = "; mine\r\n[Section]\r\nFast = 1\r\n";
    for (const char* key : {"Fast", "BGM\x8B\xE6\x95\xAA", "AVI_File"})
        text = PutProfileKey(text, "Section", key, std::string("v") + key);
    for (const char* key : {"Fast", "BGM\x8B\xE6\x95\xAA", "AVI_File"})
        EXPECT_EQ(GetProfileKey(text, "Section", key), std::string("v") + key);
}

TEST(StorablePathOf, TakesThePathThenItsShortFormElseNothing) {
    // A stand-in code page that holds ASCII only; the short form as a volume with short names
    // gives it, or none.
    auto ascii = [](const std::string& p) {
        for (char c : p)
            if (static_cast<unsigned char>(c) >= 0x80)
                return false;
        return true;
    };
    struct Row {
        const char* path;
        const char* shortForm;
        std::optional<std::string> expected;
    };
    const Row rows[] = {
        {"C:\\v\\cafe.avi", "C:\\v\\CAFE~1.AVI", "C:\\v\\cafe.avi"},
        {"C:\\v\\café.avi", "C:\\v\\CAF_~1.AVI", "C:\\v\\CAF_~1.AVI"},
        {"C:\\v\\café.avi", "", std::nullopt},                 // no short names on the volume
        {"C:\\v\\café.avi", "C:\\v\\café.avi", std::nullopt},  // the same name again
        {"C:\\한\\a.avi", "C:\\한\\A~1.AVI", std::nullopt},    // a folder without a short name
        {"", "", std::nullopt},
    };
    for (const Row& row : rows) {
        auto shortForm = [&row](const std::string&) { return std::string(row.shortForm); };
        EXPECT_EQ(StorablePathOf(row.path, ascii, shortForm), row.expected) << row.path;
    }
}

}  // namespace
}  // namespace kineloop
