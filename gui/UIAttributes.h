#pragma once

#include "gui/CRect.h"

#include <map>
#include <string>

namespace VSTGUI {

// The attributes of one element of a description, by name. Numbers are read
// the same in every locale.
class UIAttributes
{
public:
    void setAttribute(const std::string& name, const std::string& value) { values[name] = value; }
    bool hasAttribute(const std::string& name) const { return values.count(name) != 0; }
    // Null when absent.
    const std::string* getAttributeValue(const std::string& name) const;

    // Each getter leaves its output untouched and answers false when the
    // attribute is absent or malformed.
    bool getBooleanAttribute(const std::string& name, bool& value) const;
    bool getDoubleAttribute(const std::string& name, double& value) const;
    bool getIntegerAttribute(const std::string& name, int32& value) const;
    // "x, y"
    bool getPointAttribute(const std::string& name, CPoint& value) const;

    const std::map<std::string, std::string>& all() const { return values; }

    static bool parseDouble(const std::string& text, double& value);
    static bool parsePoint(const std::string& text, CPoint& value);

private:
    std::map<std::string, std::string> values;
};

} // namespace VSTGUI
