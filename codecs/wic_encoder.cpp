#include "codecs/wic_encoder.h"

#include <climits>
#include <cstring>
#include <exception>

#include <intsafe.h>
#include <objidl.h>

#include "codecs/tiff_profile.h"
#include "codecs/wic_factory.h"
#include "pixels/palette_mapping.h"

namespace {

bool containerOf(PictureKind kind, GUID& container)
{
    switch (kind) {
    case PictureKind::Gif:
        container = GUID_ContainerFormatGif;
        return true;
    case PictureKind::Tiff:
        container = GUID_ContainerFormatTiff;
        return true;
    default:
        return false;
    }
}

// The pixels as 0xAARRGGBB, the order palettes keep.
std::vector<uint32_t> argbOf(const PixelView& pixels)
{
    std::vector<uint32_t> argb(static_cast<size_t>(pixels.width) * static_cast<size_t>(pixels.height));
    uint32_t* out = argb.data();
    for (int32_t y = 0; y < pixels.height; ++y) {
        const uint8_t* pixel = pixels.row(y);
        for (int32_t x = 0; x < pixels.width; ++x, pixel += pixels.channels, ++out) {
            const uint32_t alpha = pixels.channels == 4 ? pixel[3] : 255;
            *out = alpha << 24 | uint32_t{pixel[2]} << 16 | uint32_t{pixel[1]} << 8 | pixel[0];
        }
    }
    return argb;
}

// GIF's transparent colour is told by its graphic control extension, where
// the encoder lets it be written; otherwise that entry shows as its colour.
void markTransparent(IWICBitmapFrameEncode& frame, uint8_t index)
{
    ComPtr<IWICMetadataQueryWriter> writer;
    if (FAILED(frame.GetMetadataQueryWriter(&writer))) return;
    PROPVARIANT flag = {};
    flag.vt = VT_BOOL;
    flag.boolVal = VARIANT_TRUE;
    PROPVARIANT entry = {};
    entry.vt = VT_UI1;
    entry.bVal = index;
    if (SUCCEEDED(writer->SetMetadataByName(L"/grctlext/TransparencyFlag", &flag)))
        writer->SetMetadataByName(L"/grctlext/TransparentColorIndex", &entry);
}

// GIF holds 256 colours: a palette made here beats a fixed halftone one,
// and Wine's encoder writes no pixels from anything but indices.
HRESULT writeIndexed(IWICImagingFactory& factory, IWICBitmapFrameEncode& frame, const PixelView& pixels,
                     const std::vector<uint32_t>& sourcePalette)
{
    const IndexedPixels mapped = mapToPalette(argbOf(pixels), sourcePalette);
    ComPtr<IWICPalette> palette;
    std::vector<WICColor> colours(mapped.palette.begin(), mapped.palette.end());
    HRESULT result = factory.CreatePalette(&palette);
    if (SUCCEEDED(result)) result = palette->InitializeCustom(colours.data(), static_cast<UINT>(colours.size()));
    if (SUCCEEDED(result)) result = frame.SetPalette(palette.Get());
    WICPixelFormatGUID format = GUID_WICPixelFormat8bppIndexed;
    if (SUCCEEDED(result)) result = frame.SetPixelFormat(&format);
    if (SUCCEEDED(result) && format != GUID_WICPixelFormat8bppIndexed) result = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    if (FAILED(result)) return result;
    if (mapped.transparentIndex >= 0) markTransparent(frame, static_cast<uint8_t>(mapped.transparentIndex));
    std::vector<uint8_t> indices = mapped.indices;
    return frame.WritePixels(static_cast<UINT>(pixels.height), static_cast<UINT>(pixels.width),
                             static_cast<UINT>(indices.size()), indices.data());
}

// The pixels handed over as a bitmap, which the encoder converts to the
// nearest layout it writes.
HRESULT writeDirect(IWICImagingFactory& factory, IWICBitmapFrameEncode& frame, const PixelView& pixels)
{
    const WICPixelFormatGUID layout = pixels.channels == 4   ? GUID_WICPixelFormat32bppBGRA
                                      : pixels.channels == 1 ? GUID_WICPixelFormat8bppGray
                                                             : GUID_WICPixelFormat24bppBGR;
    const uint64_t bytes = static_cast<uint64_t>(pixels.stride) * static_cast<uint64_t>(pixels.height);
    if (pixels.stride <= 0 || bytes > UINT_MAX) return INTSAFE_E_ARITHMETIC_OVERFLOW;
    WICPixelFormatGUID format = layout;
    HRESULT result = frame.SetPixelFormat(&format);
    ComPtr<IWICBitmap> bitmap;
    if (SUCCEEDED(result))
        result = factory.CreateBitmapFromMemory(static_cast<UINT>(pixels.width), static_cast<UINT>(pixels.height),
                                                layout, static_cast<UINT>(pixels.stride), static_cast<UINT>(bytes),
                                                const_cast<BYTE*>(pixels.pixels), &bitmap);
    if (FAILED(result)) return result;
    if (format == layout) return frame.WriteSource(bitmap.Get(), nullptr);
    ComPtr<IWICFormatConverter> converter;
    result = factory.CreateFormatConverter(&converter);
    if (SUCCEEDED(result))
        result = converter->Initialize(bitmap.Get(), format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                       WICBitmapPaletteTypeMedianCut);
    return SUCCEEDED(result) ? frame.WriteSource(converter.Get(), nullptr) : result;
}

// Formats that hold no profile refuse it; the copy is written without.
void attachProfile(IWICImagingFactory& factory, IWICBitmapFrameEncode& frame, const std::vector<uint8_t>& profile)
{
    if (profile.empty() || profile.size() > UINT_MAX) return;
    ComPtr<IWICColorContext> context;
    if (FAILED(factory.CreateColorContext(&context)) ||
        FAILED(context->InitializeFromMemory(profile.data(), static_cast<UINT>(profile.size()))))
        return;
    IWICColorContext* contexts[] = {context.Get()};
    frame.SetColorContexts(1, contexts);
}

bool bytesOf(IStream& stream, std::vector<uint8_t>& file)
{
    STATSTG status = {};
    HGLOBAL memory = nullptr;
    if (FAILED(stream.Stat(&status, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(&stream, &memory)) ||
        status.cbSize.QuadPart > GlobalSize(memory))
        return false;
    const void* bytes = GlobalLock(memory);
    if (!bytes) return false;
    const auto* start = static_cast<const uint8_t*>(bytes);
    file.assign(start, start + status.cbSize.QuadPart);
    GlobalUnlock(memory);
    return true;
}

bool encode(PictureKind kind, const PixelView& given, const std::vector<uint8_t>& colourProfile,
            const std::vector<uint32_t>& sourcePalette, std::vector<uint8_t>& file)
{
    GUID container = {};
    IWICImagingFactory* factory = threadImagingFactory();
    if (!given.isValid() || !containerOf(kind, container) || !factory) return false;
    // A TIFF keeps grey as grey; a GIF's palette is made from three equal channels.
    const bool widened = given.channels == 1 && kind == PictureKind::Gif;
    PixelBuffer colour;
    if (widened && !expandGreyToBgr(given, colour)) return false;
    const PixelView pixels = widened ? colour.view() : given;
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    HRESULT result = CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    if (SUCCEEDED(result)) result = factory->CreateEncoder(container, nullptr, &encoder);
    if (SUCCEEDED(result)) result = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
    if (SUCCEEDED(result)) result = encoder->CreateNewFrame(&frame, &options);
    if (SUCCEEDED(result)) result = frame->Initialize(options.Get());
    if (SUCCEEDED(result))
        result = frame->SetSize(static_cast<UINT>(pixels.width), static_cast<UINT>(pixels.height));
    if (SUCCEEDED(result)) attachProfile(*factory, *frame.Get(), colourProfile);
    if (SUCCEEDED(result))
        result = kind == PictureKind::Gif ? writeIndexed(*factory, *frame.Get(), pixels, sourcePalette)
                                          : writeDirect(*factory, *frame.Get(), pixels);
    if (SUCCEEDED(result)) result = frame->Commit();
    if (SUCCEEDED(result)) result = encoder->Commit();
    if (FAILED(result) || !bytesOf(*stream.Get(), file)) return false;
    // Encoders that take no profile (Wine's) leave a TIFF without it; one that
    // cannot be walked is kept without.
    if (kind == PictureKind::Tiff) addTiffProfile(file, colourProfile);
    return true;
}

}  // namespace

bool encodeWithWic(PictureKind kind, const PixelView& pixels, const std::vector<uint8_t>& colourProfile,
                   const std::vector<uint32_t>& sourcePalette, std::vector<uint8_t>& file)
{
    file.clear();
    // A copy too large for memory gives no file rather than ending the program.
    try {
        if (encode(kind, pixels, colourProfile, sourcePalette, file)) return true;
    } catch (const std::exception&) {
    }
    file.clear();
    return false;
}
