#include "tests/windows/WindowsPicture.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdlib>

namespace WindowsPicture {

namespace {

int channelDistance(uint32_t a, uint32_t b)
{
    int largest = 0;
    for (int shift = 0; shift < 24; shift += 8)
        largest =
            std::max(largest, std::abs(static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff)));
    return largest;
}

template <typename T>
struct Released
{
    T* object = nullptr;
    ~Released()
    {
        if (object)
            object->Release();
    }
    T** put() { return &object; }
    T* operator->() const { return object; }
};

} // namespace

size_t Image::differingPixels(const Image& other, int w, int h, int x, int y) const
{
    if (other.width != width || other.height != height)
        return pixels.size();
    if (w == 0)
    {
        w = width;
        h = height;
    }
    size_t differing = 0;
    for (int row = std::max(0, y); row < std::min(height, y + h); ++row)
        for (int column = std::max(0, x); column < std::min(width, x + w); ++column)
            differing += at(column, row) != other.at(column, row);
    return differing;
}

Comparison Image::compare(const Image& other) const
{
    Comparison result;
    if (other.width != width || other.height != height || pixels.empty())
    {
        result.largest = 255;
        result.mean = 255;
        result.differingShare = result.farShare = 1;
        return result;
    }
    double sum = 0;
    size_t differing = 0;
    size_t farOff = 0;
    for (size_t i = 0; i < pixels.size(); ++i)
    {
        const int distance = channelDistance(pixels[i], other.pixels[i]);
        result.largest = std::max(result.largest, distance);
        sum += distance;
        differing += distance > 0;
        farOff += distance > 64;
    }
    result.mean = sum / pixels.size();
    result.differingShare = static_cast<double>(differing) / pixels.size();
    result.farShare = static_cast<double>(farOff) / pixels.size();
    return result;
}

Image print(HWND window, int width, int height)
{
    Image image;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (dc && bitmap && bits)
    {
        HGDIOBJ previous = SelectObject(dc, bitmap);
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        GdiFlush();
        const auto* pixels = static_cast<const uint32_t*>(bits);
        image.width = width;
        image.height = height;
        image.pixels.reserve(static_cast<size_t>(width) * height);
        for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i)
            image.pixels.push_back(pixels[i] & 0xffffff);
        SelectObject(dc, previous);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (dc)
        DeleteDC(dc);
    return image;
}

Image loadPng(const std::string& path)
{
    Image image;
    Released<IWICImagingFactory> factory;
    Released<IWICBitmapDecoder> decoder;
    Released<IWICBitmapFrameDecode> frame;
    Released<IWICFormatConverter> converter;
    const std::wstring widePath(path.begin(), path.end()); // the build's paths are ASCII
    UINT width = 0;
    UINT height = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.put()))) ||
        FAILED(factory->CreateDecoderFromFilename(widePath.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.object, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&width, &height)))
        return image;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(pixels.data()))))
        return image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels.reserve(pixels.size());
    for (uint32_t pixel : pixels) // premultiplied over black: the colour channels as they are
        image.pixels.push_back(pixel & 0xffffff);
    return image;
}

} // namespace WindowsPicture
