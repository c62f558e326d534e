#include "gui/IXmlReader.h"
#include "gui/win32/ComPtr.h"
#include "gui/win32/Win32Text.h"

#include <windows.h>

#include <objidl.h>
// XmlLite's interface ID is defined here: mingw-w64's uuid library lacks it.
#include <initguid.h>
#include <xmllite.h>

#include <cstring>

namespace VSTGUI {
namespace Win32 {

namespace {

// A stream over a copy of the text, for XmlLite.
ComPtr<IStream> memoryStream(const std::string& text)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() ? text.size() : 1);
    if (!memory)
        return nullptr;
    if (void* bytes = GlobalLock(memory))
    {
        std::memcpy(bytes, text.data(), text.size());
        GlobalUnlock(memory);
    }
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, stream.put())))
    {
        GlobalFree(memory);
        return nullptr;
    }
    ULARGE_INTEGER size;
    size.QuadPart = text.size();
    stream->SetSize(size);
    return stream;
}

std::string text(const wchar_t* value, UINT length)
{
    return toUtf8(value, length);
}

class XmlLiteReader : public IXmlReader
{
public:
    bool read(const std::string& xml, IXmlContentHandler& handler) override
    {
        ComPtr<IStream> stream = memoryStream(xml);
        ComPtr<::IXmlReader> reader;
        if (!stream || FAILED(CreateXmlReader(IID_IXmlReader, reinterpret_cast<void**>(reader.put()), nullptr)))
            return false;
        // No document type definitions: nothing expands beyond the text itself.
        reader->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit);
        if (FAILED(reader->SetInput(stream.get())))
            return false;
        XmlNodeType type = XmlNodeType_None;
        HRESULT result = S_OK;
        while ((result = reader->Read(&type)) == S_OK)
        {
            if (type == XmlNodeType_Element)
            {
                const wchar_t* name = nullptr;
                UINT nameLength = 0;
                if (FAILED(reader->GetLocalName(&name, &nameLength)))
                    return false;
                const std::string element = text(name, nameLength);
                const bool empty = reader->IsEmptyElement() != FALSE;
                IXmlContentHandler::Attributes attributes;
                for (HRESULT more = reader->MoveToFirstAttribute(); more == S_OK; more = reader->MoveToNextAttribute())
                {
                    const wchar_t* value = nullptr;
                    UINT valueLength = 0;
                    if (FAILED(reader->GetLocalName(&name, &nameLength)) ||
                        FAILED(reader->GetValue(&value, &valueLength)))
                        return false;
                    attributes.emplace_back(text(name, nameLength), text(value, valueLength));
                }
                if (!handler.startElement(element, attributes))
                    return false;
                if (empty)
                    handler.endElement();
            }
            else if (type == XmlNodeType_EndElement)
            {
                handler.endElement();
            }
        }
        // S_FALSE marks the end of a well-formed document; anything else is an error.
        return result == S_FALSE;
    }
};

} // namespace

} // namespace Win32

std::unique_ptr<IXmlReader> IXmlReader::create()
{
    return std::make_unique<Win32::XmlLiteReader>();
}

} // namespace VSTGUI
