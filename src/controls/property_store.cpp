// The store of named values that keeps a Command button's persisted properties.
#include "controls/property_store.h"

#include <cmath>

#include "platform/numbers.h"

namespace kineloop {

bool FontSpec::operator==(const FontSpec& other) const {
    return name == other.name && points == other.points && weight == other.weight &&
           italic == other.italic && underline == other.underline &&
           strikethrough == other.strikethrough && charset == other.charset;
}

FontSpec ButtonDesignFont() {
    FontSpec font;
    font.name = "ＭＳ Ｐゴシック";
    font.points = 9.75;
    font.weight = 400;
    font.charset = 128;  // SHIFTJIS_CHARSET
    return font;
}

namespace {

// The value as a number: booleans are -1 and 0, texts count when they read as a number.
std::optional<double> NumberOf(const PropertyValue& value) {
    if (const auto* flag = std::get_if<bool>(&value))
        return *flag ? -1.0 : 0.0;
    if (const auto* whole = std::get_if<int64_t>(&value))
        return static_cast<double>(*whole);
    if (const auto* text = std::get_if<std::string>(&value))
        return ParseNumber(*text);
    return std::nullopt;
}

bool IsText(const PropertyValue& value) {
    return std::holds_alternative<std::string>(value);
}

}  // namespace

bool SameValue(const PropertyValue& a, const PropertyValue& b) {
    if (IsText(a) && IsText(b))
        return std::get<std::string>(a) == std::get<std::string>(b);
    const auto* fontA = std::get_if<FontSpec>(&a);
    const auto* fontB = std::get_if<FontSpec>(&b);
    if (fontA || fontB)
        return fontA && fontB && *fontA == *fontB;
    const std::optional<double> x = NumberOf(a), y = NumberOf(b);
    return x && y && *x == *y;
}

std::optional<bool> AsBoolean(const PropertyValue& value) {
    if (const auto* text = std::get_if<std::string>(&value)) {
        const std::string upper = UpperAscii(*text);
        if (upper == "TRUE")
            return true;
        if (upper == "FALSE")
            return false;
    }
    const std::optional<double> number = NumberOf(value);
    if (!number)
        return std::nullopt;
    return *number != 0.0;
}

std::optional<std::string> AsText(const PropertyValue& value) {
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    if (const auto* flag = std::get_if<bool>(&value))
        return std::string(*flag ? "True" : "False");
    if (const auto* whole = std::get_if<int64_t>(&value))
        return std::to_string(*whole);
    return std::nullopt;
}

std::optional<FontSpec> AsFont(const PropertyValue& value) {
    if (const auto* font = std::get_if<FontSpec>(&value))
        return *font;
    return std::nullopt;
}

std::optional<int64_t> AsWholeNumber(const PropertyValue& value, int64_t low, int64_t high) {
    const std::optional<double> number = NumberOf(value);
    if (!number || !std::isfinite(*number))
        return std::nullopt;
    const double whole = RoundHalfEven(*number);
    if (whole < static_cast<double>(low) || whole > static_cast<double>(high))
        return std::nullopt;
    return static_cast<int64_t>(whole);
}

PropertyValue PropertyStore::Read(const std::string& key,
                                  const PropertyValue& readingDefault) const {
    const PropertyValue* stored = Find(key);
    return stored ? *stored : readingDefault;
}

void PropertyStore::Put(const std::string& key, PropertyValue value) {
    auto [entry, added] = values_.try_emplace(UpperAscii(key), Entry{key, value});
    if (!added)
        entry->second.value = std::move(value);
}

const PropertyValue* PropertyStore::Find(const std::string& key) const {
    const auto entry = values_.find(UpperAscii(key));
    return entry == values_.end() ? nullptr : &entry->second.value;
}

PropertyStore StoredButtonDesign(const std::string& captionUtf8) {
    PropertyStore design;
    design.Put("caption", captionUtf8);
    design.Put("font", ButtonDesignFont());
    return design;
}

}  // namespace kineloop
