// Finds and puts keys in the text of a profile file ("[Section]" headers, "key=value" lines); a
// put leaves every other byte as it was: other sections, comments, blank lines, spacing and line
// endings.
#include "settings/profile_text.h"

#include <optional>
#include <vector>

namespace kineloop {

namespace {

struct Line {
    size_t begin;  // first byte of the line
    size_t end;    // one past its last byte before the line ending
    size_t next;   // first byte of the next line
};

std::vector<Line> SplitLines(const std::string& text) {
    std::vector<Line> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = at;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        size_t next = end;
        if (next < text.size() && text[next] == '\r')
            ++next;
        if (next < text.size() && text[next] == '\n')
            ++next;
        lines.push_back({at, end, next});
        at = next;
    }
    return lines;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string Trimmed(const std::string& text, size_t begin, size_t end) {
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool IsAscii(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// ASCII names compare without case; a name with other bytes (the Japanese keys) only exactly, so
// that a trail byte of a double-byte character is never folded.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    if (!IsAscii(a) || !IsAscii(b))
        return a == b;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The name of a section header line, or nothing when the line is no header.
bool HeaderName(const std::string& text, const Line& line, std::string& name) {
    size_t at = line.begin;
    while (at < line.end && IsBlank(text[at]))
        ++at;
    if (at == line.end || text[at] != '[')
        return false;
    const size_t close = text.find(']', at + 1);
    name = Trimmed(text, at + 1, close == std::string::npos || close > line.end ? line.end : close);
    return true;
}

std::string WithLineEnding(std::string text) {
    if (!text.empty() && text.back() != '\n' && text.back() != '\r')
        text += "\r\n";
    return text;
}

// Where `key` of the first section named `section` is, or where a new key line would go.
struct Place {
    enum Kind { NoSection, NoKey, Key } kind = NoSection;
    size_t equals = 0;             // Key: the key line's "="
    size_t lineEnd = 0;            // Key: the end of that line, before its line ending
    size_t insertAt = 0;           // NoKey: after the section's last line that is not blank
    bool lastHasNoEnding = false;  // NoKey: that line has no line ending
};

Place Locate(const std::string& text, const std::string& section, const std::string& key) {
    const std::vector<Line> lines = SplitLines(text);
    Place place;
    size_t index = 0;
    std::string name;
    while (index < lines.size() &&
           !(HeaderName(text, lines[index], name) && SameName(name, section)))
        ++index;
    if (index == lines.size())
        return place;

    place.kind = Place::NoKey;
    place.insertAt = lines[index].next;
    place.lastHasNoEnding = lines[index].end == lines[index].next;
    for (++index; index < lines.size(); ++index) {
        const Line& line = lines[index];
        if (HeaderName(text, line, name))
            break;
        const std::string content = Trimmed(text, line.begin, line.end);
        if (content.empty())
            continue;
        place.insertAt = line.next;
        place.lastHasNoEnding = line.end == line.next;
        if (content[0] == ';')
            continue;
        const size_t equals = text.find('=', line.begin);
        if (equals == std::string::npos || equals >= line.end)
            continue;
        if (SameName(Trimmed(text, line.begin, equals), key)) {
            place.kind = Place::Key;
            place.equals = equals;
            place.lineEnd = line.end;
            return place;
        }
    }
    return place;
}

}  // namespace

std::optional<std::string> GetProfileKey(const std::string& text, const std::string& section,
                                         const std::string& key) {
    const Place place = Locate(text, section, key);
    if (place.kind != Place::Key)
        return std::nullopt;
    std::string value = Trimmed(text, place.equals + 1, place.lineEnd);
    // One pair of quotes around the whole value is not part of it, as for the profile functions.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

std::string PutProfileKey(const std::string& text, const std::string& section,
                          const std::string& key, const std::string& value) {
    const Place place = Locate(text, section, key);
    const std::string newLine = key + "=" + value + "\r\n";
    switch (place.kind) {
        case Place::NoSection:
            return WithLineEnding(text) + "[" + section + "]\r\n" + newLine;
        case Place::Key:
            return text.substr(0, place.equals + 1) + value + text.substr(place.lineEnd);
        case Place::NoKey:
            break;
    }
    const std::string before = text.substr(0, place.insertAt);
    return (place.lastHasNoEnding ? before + "\r\n" : before) + newLine +
           text.substr(place.insertAt);
}

}  // namespace kineloop
