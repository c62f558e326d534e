#pragma once

// A small JSON reader for tests that check generated JSON files: objects keep
// their keys in order, numbers are doubles. Throws std::runtime_error with the
// offset on malformed input.

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace KalviorTest {

class JsonValue
{
public:
    enum class Type
    {
        Null,
        Boolean,
        Number,
        String,
        Array,
        Object
    };

    static JsonValue parse(const std::string& text);

    Type type() const { return kind; }
    bool boolean() const;
    double number() const;
    const std::string& string() const;
    const std::vector<JsonValue>& array() const;
    // The member `key` of an object; throws when it has none.
    const JsonValue& operator[](const std::string& key) const;
    bool has(const std::string& key) const;
    std::vector<std::string> keys() const;

private:
    class Parser;

    Type kind = Type::Null;
    bool booleanValue = false;
    double numberValue = 0.0;
    std::string stringValue;
    std::vector<JsonValue> items;
    std::vector<std::pair<std::string, JsonValue>> members;
};

} // namespace KalviorTest
