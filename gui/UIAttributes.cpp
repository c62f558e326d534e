#include "gui/UIAttributes.h"

#include <charconv>
#include <cmath>

namespace VSTGUI {

namespace {

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

} // namespace

const std::string* UIAttributes::getAttributeValue(const std::string& name) const
{
    auto it = values.find(name);
    return it == values.end() ? nullptr : &it->second;
}

bool UIAttributes::parseDouble(const std::string& text, double& value)
{
    const std::string t = trimmed(text);
    if (t.empty())
        return false;
    const char* begin = t.data();
    if (*begin == '+')
        ++begin;
    double parsed = 0;
    const auto [end, error] = std::from_chars(begin, t.data() + t.size(), parsed);
    if (error != std::errc() || end != t.data() + t.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool UIAttributes::parsePoint(const std::string& text, CPoint& value)
{
    const auto comma = text.find(',');
    if (comma == std::string::npos)
        return false;
    double x = 0;
    double y = 0;
    if (!parseDouble(text.substr(0, comma), x) || !parseDouble(text.substr(comma + 1), y))
        return false;
    value = CPoint(x, y);
    return true;
}

bool UIAttributes::getBooleanAttribute(const std::string& name, bool& value) const
{
    const std::string* text = getAttributeValue(name);
    if (!text)
        return false;
    if (*text == "true")
        value = true;
    else if (*text == "false")
        value = false;
    else
        return false;
    return true;
}

bool UIAttributes::getDoubleAttribute(const std::string& name, double& value) const
{
    const std::string* text = getAttributeValue(name);
    return text && parseDouble(*text, value);
}

bool UIAttributes::getIntegerAttribute(const std::string& name, int32& value) const
{
    double parsed = 0;
    if (!getDoubleAttribute(name, parsed) || parsed != std::floor(parsed) || std::fabs(parsed) > 2147483647.)
        return false;
    value = static_cast<int32>(parsed);
    return true;
}

bool UIAttributes::getPointAttribute(const std::string& name, CPoint& value) const
{
    const std::string* text = getAttributeValue(name);
    return text && parsePoint(*text, value);
}

} // namespace VSTGUI
