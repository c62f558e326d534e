#include "gui/win32/D2DBitmap.h"

#include <wincodec.h>

#include <climits>

namespace VSTGUI {
namespace Win32 {

namespace {

// COM for the calling thread while WIC is used, unless the host already
// set it up (then the call is only counted).
class ComScope
{
public:
    ComScope() : result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope()
    {
        if (SUCCEEDED(result))
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT result;
};

// Image sizes beyond this are refused before any memory is taken.
constexpr uint32 kMaxSide = 16384;

std::unique_ptr<D2DBitmap> decodePng(const void* data, size_t size)
{
    if (!data || size == 0 || size > static_cast<size_t>(UINT_MAX))
        return nullptr;
    ComScope com;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.put()))))
        return nullptr;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)), static_cast<DWORD>(size))) ||
        FAILED(factory->CreateDecoder(GUID_ContainerFormatPng, nullptr, decoder.put())) ||
        FAILED(decoder->Initialize(stream.get(), WICDecodeMetadataCacheOnDemand)) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.,
                                     WICBitmapPaletteTypeCustom)))
        return nullptr;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width < 1 || height < 1 || width > kMaxSide || height > kMaxSide)
        return nullptr;
    auto bitmap = std::make_unique<D2DBitmap>(width, height);
    auto& pixels = bitmap->getPixels();
    if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(pixels.data()))))
        return nullptr;
    return bitmap;
}

} // namespace

D2DBitmap::D2DBitmap(uint32 width, uint32 height)
    : width(width), height(height), pixels(static_cast<size_t>(width) * height, 0u)
{
}

bool D2DBitmap::lockPixels(PixelBuffer& buffer)
{
    if (pixels.empty())
        return false;
    buffer.data = reinterpret_cast<uint8_t*>(pixels.data());
    buffer.width = width;
    buffer.height = height;
    buffer.stride = width * 4;
    return true;
}

ComPtr<ID2D1Bitmap> D2DBitmap::createFor(ID2D1RenderTarget* target) const
{
    ComPtr<ID2D1Bitmap> bitmap;
    if (!target || pixels.empty())
        return bitmap;
    const D2D1_BITMAP_PROPERTIES properties = {{DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED}, 96.f, 96.f};
    if (FAILED(target->CreateBitmap(D2D1::SizeU(width, height), pixels.data(), width * 4, properties, bitmap.put())))
        bitmap.reset();
    return bitmap;
}

D2DBitmap* D2DBitmap::of(IPlatformBitmap* bitmap)
{
    // Only this side's bitmaps exist in a build.
    return static_cast<D2DBitmap*>(bitmap);
}

} // namespace Win32

std::unique_ptr<IPlatformBitmap> IPlatformBitmap::create(uint32 width, uint32 height)
{
    if (width < 1 || height < 1 || width > Win32::kMaxSide || height > Win32::kMaxSide)
        return nullptr;
    return std::make_unique<Win32::D2DBitmap>(width, height);
}

std::unique_ptr<IPlatformBitmap> IPlatformBitmap::createFromPng(const void* data, size_t size)
{
    return Win32::decodePng(data, size);
}

} // namespace VSTGUI
