#include "gui/IXmlReader.h"

#include <expat.h>

#include <climits>

namespace VSTGUI {
namespace X11 {

namespace {

class ExpatXmlReader : public IXmlReader
{
public:
    bool read(const std::string& text, IXmlContentHandler& target) override
    {
        if (text.size() > static_cast<size_t>(INT_MAX))
            return false;
        XML_Parser parser = XML_ParserCreate("UTF-8");
        if (!parser)
            return false;
        Context context{parser, &target, false};
        XML_SetUserData(parser, &context);
        XML_SetElementHandler(parser, &start, &end);
        const bool wellFormed =
            XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE) == XML_STATUS_OK;
        XML_ParserFree(parser);
        return wellFormed && !context.stopped;
    }

private:
    struct Context
    {
        XML_Parser parser;
        IXmlContentHandler* handler;
        bool stopped;
    };

    static void XMLCALL start(void* data, const XML_Char* name, const XML_Char** attributes)
    {
        auto* context = static_cast<Context*>(data);
        if (context->stopped)
            return;
        IXmlContentHandler::Attributes list;
        for (int i = 0; attributes[i]; i += 2)
            list.emplace_back(attributes[i], attributes[i + 1]);
        if (!context->handler->startElement(name, list))
        {
            context->stopped = true;
            XML_StopParser(context->parser, XML_FALSE);
        }
    }

    static void XMLCALL end(void* data, const XML_Char*)
    {
        auto* context = static_cast<Context*>(data);
        if (!context->stopped)
            context->handler->endElement();
    }
};

} // namespace

} // namespace X11

std::unique_ptr<IXmlReader> IXmlReader::create()
{
    return std::make_unique<X11::ExpatXmlReader>();
}

} // namespace VSTGUI
