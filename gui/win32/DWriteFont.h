#pragma once

#include "gui/CFontDesc.h"
#include "gui/win32/ComPtr.h"

#include <dwrite.h>

#include <memory>
#include <string>
#include <vector>

namespace VSTGUI {
namespace Win32 {

// A font description as DirectWrite draws it.
class DWriteFont
{
public:
    DWriteFont(IDWriteFactory* factory, const CFontDesc& font);

    bool isValid() const { return static_cast<bool>(format); }
    IDWriteTextFormat* getFormat() const { return format.get(); }
    // Pixels above and below the baseline.
    float getAscent() const { return ascent; }
    float getDescent() const { return descent; }
    const std::wstring& getFamily() const { return family; }

    // The installed family drawn for name: the name itself when installed,
    // else its metric-compatible twin (Arial is Liberation Sans where only
    // that is installed), else the twin's name for DirectWrite's fallback.
    static std::wstring resolveFamily(IDWriteFactory* factory, const CFontDesc& font);

private:
    ComPtr<IDWriteTextFormat> format;
    std::wstring family;
    float ascent = 0;
    float descent = 0;
};

// The fonts one window has drawn with, made once each: asking DirectWrite for
// families and formats on every string is slow.
class DWriteFontCache
{
public:
    // factory is referenced while the cache lives.
    explicit DWriteFontCache(IDWriteFactory* factory);
    ~DWriteFontCache();
    DWriteFontCache(const DWriteFontCache&) = delete;
    DWriteFontCache& operator=(const DWriteFontCache&) = delete;

    const DWriteFont& get(const CFontDesc& font);
    IDWriteFactory* getFactory() const { return factory; }

private:
    struct Entry
    {
        std::string name;
        CCoord size;
        int32 style;
        std::unique_ptr<DWriteFont> font;
    };

    IDWriteFactory* factory;
    std::vector<Entry> fonts;
};

} // namespace Win32
} // namespace VSTGUI
