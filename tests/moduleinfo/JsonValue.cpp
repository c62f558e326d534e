#include "tests/moduleinfo/JsonValue.h"

#include <cstdlib>
#include <stdexcept>

namespace KalviorTest {

class JsonValue::Parser
{
public:
    explicit Parser(const std::string& text) : text(text) {}

    JsonValue document()
    {
        JsonValue value = parseValue();
        skipSpace();
        if (position != text.size())
            fail("text after the value");
        return value;
    }

private:
    [[noreturn]] void fail(const std::string& what) const
    {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(position));
    }

    void skipSpace()
    {
        while (position < text.size() &&
               (text[position] == ' ' || text[position] == '\t' || text[position] == '\n' || text[position] == '\r'))
            ++position;
    }

    bool consume(char c)
    {
        skipSpace();
        if (position < text.size() && text[position] == c)
        {
            ++position;
            return true;
        }
        return false;
    }

    void expect(char c)
    {
        if (!consume(c))
            fail(std::string("expected '") + c + "'");
    }

    bool consumeWord(const char* word)
    {
        const std::string w(word);
        if (text.compare(position, w.size(), w) != 0)
            return false;
        position += w.size();
        return true;
    }

    static void appendUtf8(std::string& out, unsigned long code)
    {
        if (code < 0x80)
            out += static_cast<char>(code);
        else if (code < 0x800)
        {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
        else
        {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::string parseString()
    {
        expect('"');
        std::string out;
        while (position < text.size() && text[position] != '"')
        {
            char c = text[position++];
            if (static_cast<unsigned char>(c) < 0x20)
                fail("control character in a string");
            if (c != '\\')
            {
                out += c;
                continue;
            }
            if (position >= text.size())
                fail("unfinished escape");
            c = text[position++];
            switch (c)
            {
            case '"': out += '"'; break;
            case '\\': out += '\\'; break;
            case '/': out += '/'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u':
                if (position + 4 > text.size())
                    fail("short \\u escape");
                appendUtf8(out, std::strtoul(text.substr(position, 4).c_str(), nullptr, 16));
                position += 4;
                break;
            default: fail("unknown escape");
            }
        }
        if (position >= text.size())
            fail("unfinished string");
        ++position;
        return out;
    }

    JsonValue parseValue()
    {
        skipSpace();
        if (position >= text.size())
            fail("missing value");
        JsonValue value;
        const char c = text[position];
        if (c == '{')
        {
            ++position;
            value.kind = Type::Object;
            if (consume('}'))
                return value;
            do
            {
                skipSpace();
                std::string key = parseString();
                expect(':');
                value.members.emplace_back(std::move(key), parseValue());
            } while (consume(','));
            expect('}');
        }
        else if (c == '[')
        {
            ++position;
            value.kind = Type::Array;
            if (consume(']'))
                return value;
            do
                value.items.push_back(parseValue());
            while (consume(','));
            expect(']');
        }
        else if (c == '"')
        {
            value.kind = Type::String;
            value.stringValue = parseString();
        }
        else if (consumeWord("true") || consumeWord("false"))
        {
            value.kind = Type::Boolean;
            value.booleanValue = c == 't';
        }
        else if (consumeWord("null"))
            value.kind = Type::Null;
        else
        {
            const char* begin = text.c_str() + position;
            char* end = nullptr;
            value.numberValue = std::strtod(begin, &end);
            if (end == begin)
                fail("unexpected character");
            value.kind = Type::Number;
            position += static_cast<size_t>(end - begin);
        }
        return value;
    }

    const std::string& text;
    size_t position = 0;
};

JsonValue JsonValue::parse(const std::string& text)
{
    return Parser(text).document();
}

namespace {

[[noreturn]] void wrongType(const char* wanted)
{
    throw std::runtime_error(std::string("JSON: the value is not ") + wanted);
}

} // namespace

bool JsonValue::boolean() const
{
    if (kind != Type::Boolean)
        wrongType("a boolean");
    return booleanValue;
}

double JsonValue::number() const
{
    if (kind != Type::Number)
        wrongType("a number");
    return numberValue;
}

const std::string& JsonValue::string() const
{
    if (kind != Type::String)
        wrongType("a string");
    return stringValue;
}

const std::vector<JsonValue>& JsonValue::array() const
{
    if (kind != Type::Array)
        wrongType("an array");
    return items;
}

const JsonValue& JsonValue::operator[](const std::string& key) const
{
    if (kind != Type::Object)
        wrongType("an object");
    for (const auto& member : members)
    {
        if (member.first == key)
            return member.second;
    }
    throw std::runtime_error("JSON: no member \"" + key + "\"");
}

bool JsonValue::has(const std::string& key) const
{
    for (const auto& member : members)
    {
        if (member.first == key)
            return true;
    }
    return false;
}

std::vector<std::string> JsonValue::keys() const
{
    std::vector<std::string> names;
    for (const auto& member : members)
        names.push_back(member.first);
    return names;
}

} // namespace KalviorTest
