#include "gui/win32/DWriteFont.h"

#include "gui/win32/Win32Text.h"

namespace VSTGUI {
namespace Win32 {

namespace {

ComPtr<IDWriteFontFamily> findFamily(IDWriteFontCollection* fonts, const std::wstring& name)
{
    ComPtr<IDWriteFontFamily> family;
    UINT32 index = 0;
    BOOL exists = FALSE;
    if (fonts && !name.empty() && SUCCEEDED(fonts->FindFamilyName(name.c_str(), &index, &exists)) && exists)
        fonts->GetFontFamily(index, family.put());
    return family;
}

DWRITE_FONT_WEIGHT weightOf(const CFontDesc& font)
{
    return (font.getStyle() & kBoldFace) ? DWRITE_FONT_WEIGHT_BOLD : DWRITE_FONT_WEIGHT_NORMAL;
}

DWRITE_FONT_STYLE styleOf(const CFontDesc& font)
{
    return (font.getStyle() & kItalicFace) ? DWRITE_FONT_STYLE_ITALIC : DWRITE_FONT_STYLE_NORMAL;
}

} // namespace

std::wstring DWriteFont::resolveFamily(IDWriteFactory* factory, const CFontDesc& font)
{
    ComPtr<IDWriteFontCollection> fonts;
    if (factory)
        factory->GetSystemFontCollection(fonts.put(), FALSE);
    const std::wstring named = toWide(font.getName());
    if (findFamily(fonts.get(), named))
        return named;
    return toWide(font.getPlatformFamily());
}

DWriteFont::DWriteFont(IDWriteFactory* factory, const CFontDesc& font)
{
    if (!factory || font.getSize() <= 0)
        return;
    family = resolveFamily(factory, font);
    if (FAILED(factory->CreateTextFormat(family.c_str(), nullptr, weightOf(font), styleOf(font),
                                         DWRITE_FONT_STRETCH_NORMAL, static_cast<float>(font.getSize()), L"",
                                         format.put())))
    {
        format.reset();
        return;
    }
    format->SetWordWrapping(DWRITE_WORD_WRAPPING_NO_WRAP);

    ComPtr<IDWriteFontCollection> fonts;
    factory->GetSystemFontCollection(fonts.put(), FALSE);
    ComPtr<IDWriteFontFamily> installed = findFamily(fonts.get(), family);
    ComPtr<IDWriteFont> face;
    if (installed && SUCCEEDED(installed->GetFirstMatchingFont(weightOf(font), DWRITE_FONT_STRETCH_NORMAL,
                                                               styleOf(font), face.put())))
    {
        DWRITE_FONT_METRICS metrics{};
        face->GetMetrics(&metrics);
        const float scale = static_cast<float>(font.getSize()) / metrics.designUnitsPerEm;
        ascent = metrics.ascent * scale;
        descent = metrics.descent * scale;
    }
    else
    {
        // Typical sans-serif proportions when the face cannot be asked.
        ascent = static_cast<float>(font.getSize()) * 0.905f;
        descent = static_cast<float>(font.getSize()) * 0.212f;
    }
}

DWriteFontCache::DWriteFontCache(IDWriteFactory* factory) : factory(factory)
{
    if (factory)
        factory->AddRef();
}

DWriteFontCache::~DWriteFontCache()
{
    fonts.clear();
    if (factory)
        factory->Release();
}

const DWriteFont& DWriteFontCache::get(const CFontDesc& font)
{
    for (const Entry& entry : fonts)
    {
        if (entry.name == font.getName() && entry.size == font.getSize() && entry.style == font.getStyle())
            return *entry.font;
    }
    fonts.push_back({font.getName(), font.getSize(), font.getStyle(), std::make_unique<DWriteFont>(factory, font)});
    return *fonts.back().font;
}

} // namespace Win32
} // namespace VSTGUI
