// The container's per-control store of named values, in which a Command button keeps its
// persisted properties: keys matched without regard to letter case, values compared by value.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

namespace kineloop {

// A font object as the caption label holds it and the store keeps it, whole.
struct FontSpec {
    std::string name;  // UTF-8
    double points = 9.0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    uint8_t charset = 1;  // DEFAULT_CHARSET

    bool operator==(const FontSpec& other) const;
    bool operator!=(const FontSpec& other) const { return !(*this == other); }
};

// The font of the dialog's buttons: "ＭＳ Ｐゴシック", 9.75 point, normal weight, Shift-JIS.
FontSpec ButtonDesignFont();

// One stored value: a boolean, a whole number, a text or a font object.
using PropertyValue = std::variant<bool, int64_t, std::string, FontSpec>;

// Whether two values are the same for the store: numbers, booleans (true is -1) and numeric text
// compare by value ("1" equals 1); other texts by their characters; fonts field by field.
bool SameValue(const PropertyValue& a, const PropertyValue& b);

// Conversions of a stored value into a field's type; nothing when the value does not convert.
std::optional<bool> AsBoolean(const PropertyValue& value);
std::optional<std::string> AsText(const PropertyValue& value);
std::optional<FontSpec> AsFont(const PropertyValue& value);
// A whole number in [low, high], fractions rounded half to even.
std::optional<int64_t> AsWholeNumber(const PropertyValue& value, int64_t low, int64_t high);

class PropertyStore {
  public:
    // The stored value of `key`, or `readingDefault` when the key is absent.
    PropertyValue Read(const std::string& key, const PropertyValue& readingDefault) const;
    // Stores a value as it stands (a design written by hand).
    void Put(const std::string& key, PropertyValue value);

    const PropertyValue* Find(const std::string& key) const;

  private:
    struct Entry {
        std::string key;  // as first written
        PropertyValue value;
    };
    std::map<std::string, Entry> values_;  // by the key in upper case
};

// The dialog's stored design of one of its buttons: only its caption and its font (keys in lower
// case), every other property at its default.
PropertyStore StoredButtonDesign(const std::string& captionUtf8);

}  // namespace kineloop
