#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace VSTGUI {

// Receives the elements of an XML document in order; text is not reported.
class IXmlContentHandler
{
public:
    using Attributes = std::vector<std::pair<std::string, std::string>>; // UTF-8 name, value

    virtual ~IXmlContentHandler() = default;
    // False stops reading; the document then counts as not read.
    virtual bool startElement(const std::string& name, const Attributes& attributes) = 0;
    virtual void endElement() = 0;
};

// The platform's XML parser behind one call.
class IXmlReader
{
public:
    virtual ~IXmlReader() = default;
    // Reads UTF-8 text; false when it is not well-formed or the handler stopped.
    virtual bool read(const std::string& text, IXmlContentHandler& handler) = 0;

    static std::unique_ptr<IXmlReader> create();
};

} // namespace VSTGUI
