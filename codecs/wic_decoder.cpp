#include "codecs/wic_decoder.h"

#include <algorithm>
#include <climits>
#include <new>

#include <intsafe.h>
#include <propidl.h>

#include "codecs/shrunk_extent.h"

namespace {

// The rows one CopyPixels call reads, so that the resampler can start on
// the first ones while the rest are read.
constexpr UINT kRowsPerCopy = 64;
// A profile is a few kilobytes; a crafted one may say anything.
constexpr UINT kLargestProfile = 16u << 20;

DecodeStatus statusOf(HRESULT result)
{
    switch (result) {
    case WINCODEC_ERR_COMPONENTNOTFOUND:
    case WINCODEC_ERR_UNKNOWNIMAGEFORMAT:
        return DecodeStatus::NotForThisDecoder;
    case E_OUTOFMEMORY:
        return DecodeStatus::OutOfMemory;
    case INTSAFE_E_ARITHMETIC_OVERFLOW:
    case WINCODEC_ERR_IMAGESIZEOUTOFRANGE:
        return DecodeStatus::TooLarge;
    default:
        return DecodeStatus::Corrupt;
    }
}

PictureKind kindOf(const GUID& container)
{
    if (container == GUID_ContainerFormatJpeg) return PictureKind::Jpeg;
    if (container == GUID_ContainerFormatPng) return PictureKind::Png;
    if (container == GUID_ContainerFormatGif) return PictureKind::Gif;
    if (container == GUID_ContainerFormatBmp) return PictureKind::Bmp;
    if (container == GUID_ContainerFormatTiff) return PictureKind::Tiff;
    return PictureKind::Other;
}

// A PROPVARIANT cleared on every path.
class PropertyValue {
public:
    PropertyValue() { PropVariantInit(&value_); }
    PropertyValue(const PropertyValue&) = delete;
    PropertyValue& operator=(const PropertyValue&) = delete;
    ~PropertyValue() { PropVariantClear(&value_); }
    PROPVARIANT* receive() { return &value_; }
    const PROPVARIANT& get() const { return value_; }

private:
    PROPVARIANT value_;
};

// The Exif orientation by the photo metadata policy, which Windows maps for
// JPEG, TIFF, HEIF and RAW frames, or by the TIFF and JPEG paths, which is
// what Wine knows.
int orientationOf(IWICBitmapFrameDecode& frame)
{
    ComPtr<IWICMetadataQueryReader> reader;
    if (FAILED(frame.GetMetadataQueryReader(&reader))) return 1;
    for (const wchar_t* query : {L"System.Photo.Orientation", L"/ifd/{ushort=274}", L"/app1/ifd/{ushort=274}"}) {
        PropertyValue value;
        if (FAILED(reader->GetMetadataByName(query, value.receive()))) continue;
        if (value.get().vt == VT_UI2 && value.get().uiVal >= 1 && value.get().uiVal <= 8) return value.get().uiVal;
    }
    return 1;
}

std::vector<uint8_t> colourProfileOf(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame)
{
    UINT count = 0;
    if (FAILED(frame.GetColorContexts(0, nullptr, &count)) || count == 0) return {};
    count = std::min(count, 8u);
    std::vector<ComPtr<IWICColorContext>> owners(count);
    std::vector<IWICColorContext*> contexts(count);
    for (UINT i = 0; i < count; ++i) {
        if (FAILED(factory.CreateColorContext(&owners[i]))) return {};
        contexts[i] = owners[i].Get();
    }
    UINT filled = 0;
    if (FAILED(frame.GetColorContexts(count, contexts.data(), &filled))) return {};
    for (UINT i = 0; i < std::min(filled, count); ++i) {
        WICColorContextType type = WICColorContextUninitialized;
        UINT bytes = 0;
        if (FAILED(contexts[i]->GetType(&type)) || type != WICColorContextProfile ||
            FAILED(contexts[i]->GetProfileBytes(0, nullptr, &bytes)) || bytes == 0 || bytes > kLargestProfile)
            continue;
        std::vector<uint8_t> profile(bytes);
        if (SUCCEEDED(contexts[i]->GetProfileBytes(bytes, profile.data(), &bytes)) && bytes == profile.size())
            return profile;
    }
    return {};
}

bool isTransparentFormat(IWICImagingFactory& factory, const WICPixelFormatGUID& format)
{
    ComPtr<IWICComponentInfo> info;
    ComPtr<IWICPixelFormatInfo2> pixelFormat;
    BOOL transparent = FALSE;
    if (SUCCEEDED(factory.CreateComponentInfo(format, &info)) && SUCCEEDED(info.As(&pixelFormat)) &&
        SUCCEEDED(pixelFormat->SupportsTransparency(&transparent)))
        return transparent != FALSE;
    // Without the pixel format's own word, any format with alpha in its name.
    for (const GUID& alpha : {GUID_WICPixelFormat32bppBGRA, GUID_WICPixelFormat32bppRGBA, GUID_WICPixelFormat32bppPBGRA,
                              GUID_WICPixelFormat64bppRGBA, GUID_WICPixelFormat64bppPRGBA})
        if (format == alpha) return true;
    return false;
}

// The palette of an indexed frame, and whether any of its entries is transparent.
std::vector<uint32_t> paletteOf(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame, bool& hasAlpha)
{
    hasAlpha = false;
    ComPtr<IWICPalette> palette;
    UINT count = 0;
    if (FAILED(factory.CreatePalette(&palette)) || FAILED(frame.CopyPalette(palette.Get())) ||
        FAILED(palette->GetColorCount(&count)) || count == 0)
        return {};
    std::vector<WICColor> colours(std::min(count, 256u));
    UINT filled = 0;
    if (FAILED(palette->GetColors(static_cast<UINT>(colours.size()), colours.data(), &filled))) return {};
    colours.resize(std::min<size_t>(filled, colours.size()));
    BOOL alpha = FALSE;
    hasAlpha = SUCCEEDED(palette->HasAlpha(&alpha)) && alpha;
    return std::vector<uint32_t>(colours.begin(), colours.end());
}

const WICPixelFormatGUID& layoutOf(int32_t channels)
{
    return channels == 4 ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
}

HRESULT convert(IWICBitmapSource* source, const WICPixelFormatGUID& format, ComPtr<IWICBitmapSource>& converted)
{
    ComPtr<IWICFormatConverter> converter;
    HRESULT result = threadImagingFactory()->CreateFormatConverter(&converter);
    if (SUCCEEDED(result))
        result = converter->Initialize(source, format, WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeCustom);
    if (SUCCEEDED(result)) converted = converter;
    return result;
}

// A converter to the layout; Wine's reaches BGR from some formats (palette
// ones among them) only by way of BGRA, which every format reaches.
HRESULT converterTo(IWICBitmapSource* frame, const WICPixelFormatGUID& format, bool byWayOfBgra,
                    ComPtr<IWICBitmapSource>& converted)
{
    if (!byWayOfBgra) return convert(frame, format, converted);
    ComPtr<IWICBitmapSource> bgra;
    const HRESULT result = convert(frame, GUID_WICPixelFormat32bppBGRA, bgra);
    return SUCCEEDED(result) ? convert(bgra.Get(), format, converted) : result;
}

}  // namespace

DecodeStatus WicDecoder::open(const wchar_t* path)
{
    IWICImagingFactory* factory = threadImagingFactory();
    if (!factory) return DecodeStatus::NotForThisDecoder;
    const HRESULT created =
        factory->CreateDecoderFromFilename(path, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, &decoder_);
    if (FAILED(created)) return statusOf(created);
    try {
        return readHead();
    } catch (const std::bad_alloc&) {
        return DecodeStatus::OutOfMemory;
    }
}

DecodeStatus WicDecoder::readHead()
{
    IWICImagingFactory& factory = *threadImagingFactory();
    UINT frames = 0;
    GUID container = {};
    HRESULT result = decoder_->GetFrameCount(&frames);
    if (SUCCEEDED(result) && frames == 0) return DecodeStatus::Corrupt;
    if (SUCCEEDED(result)) result = decoder_->GetFrame(0, &frame_);
    UINT width = 0, height = 0;
    if (SUCCEEDED(result)) result = frame_->GetSize(&width, &height);
    WICPixelFormatGUID format = {};
    if (SUCCEEDED(result)) result = frame_->GetPixelFormat(&format);
    if (FAILED(result)) return statusOf(result);
    if (width == 0 || height == 0) return DecodeStatus::Corrupt;
    if (width > INT32_MAX || height > INT32_MAX) return DecodeStatus::TooLarge;
    stored_ = {static_cast<int32_t>(width), static_cast<int32_t>(height)};
    if (SUCCEEDED(decoder_->GetContainerFormat(&container))) kind_ = kindOf(container);

    bool paletteAlpha = false;
    palette_ = paletteOf(factory, *frame_.Get(), paletteAlpha);
    channels_ = paletteAlpha || (palette_.empty() && isTransparentFormat(factory, format)) ? 4 : 3;
    orientation_ = orientationOf(*frame_.Get());
    metadata_.colourProfile = colourProfileOf(factory, *frame_.Get());
    return DecodeStatus::Decoded;
}

DecodeStatus WicDecoder::start(const ImageSize& smallest)
{
    if (!frame_ || started_) return DecodeStatus::NotForThisDecoder;
    started_ = true;
    decoded_ = stored_;
    // Windows' JPEG and RAW decoders shrink as they decode, in the pixel layout asked for.
    ComPtr<IWICBitmapSourceTransform> transform;
    if (FAILED(frame_.As(&transform))) return boundedDecode();
    UINT width = static_cast<UINT>(std::max(smallest.width, 1));
    UINT height = static_cast<UINT>(std::max(smallest.height, 1));
    WICPixelFormatGUID format = layoutOf(channels_);
    if (FAILED(transform->GetClosestSize(&width, &height)) || FAILED(transform->GetClosestPixelFormat(&format)) ||
        format != layoutOf(channels_))
        return boundedDecode();
    const bool largeEnough = width >= static_cast<UINT>(smallest.width) && height >= static_cast<UINT>(smallest.height);
    if (largeEnough && width < static_cast<UINT>(stored_.width) && height < static_cast<UINT>(stored_.height)) {
        decoded_ = {static_cast<int32_t>(width), static_cast<int32_t>(height)};
        shrinking_ = transform;
    }
    return boundedDecode();
}

// The pixels are taken whole: a header that claims more than any photo needs
// (a few bytes of BMP can) is refused before anything is allocated for it.
DecodeStatus WicDecoder::boundedDecode() const
{
    return passesDecodedBound(static_cast<uint32_t>(decoded_.width), static_cast<uint32_t>(decoded_.height),
                              static_cast<uint32_t>(channels_))
               ? DecodeStatus::TooLarge
               : DecodeStatus::Decoded;
}

PixelExtent WicDecoder::decodedExtent() const
{
    return shrinking_ ? shrunkExtent(stored_, decoded_) : PixelExtent{double(decoded_.width), double(decoded_.height)};
}

DecodeStatus WicDecoder::readPixels(const MutablePixelView& pixels, const RowsDecoded* decoded)
{
    if (!started_ || !pixels.isValid() || pixels.width != decoded_.width || pixels.height != decoded_.height ||
        pixels.channels != channels_ || pixels.stride <= 0 ||
        static_cast<uint64_t>(pixels.stride) > UINT_MAX)
        return DecodeStatus::NotForThisDecoder;
    const auto stride = static_cast<UINT>(pixels.stride);
    const uint64_t rowBytes = uint64_t{static_cast<uint32_t>(pixels.width)} * static_cast<uint32_t>(pixels.channels);
    const uint64_t wholeBytes = uint64_t{stride} * static_cast<uint32_t>(pixels.height - 1) + rowBytes;
    if (wholeBytes > UINT_MAX) return DecodeStatus::TooLarge;
    WICPixelFormatGUID format = layoutOf(channels_);
    if (shrinking_) {
        const HRESULT copied =
            shrinking_->CopyPixels(nullptr, static_cast<UINT>(decoded_.width), static_cast<UINT>(decoded_.height),
                                   &format, WICBitmapTransformRotate0, stride, static_cast<UINT>(wholeBytes), pixels.pixels);
        if (FAILED(copied)) return statusOf(copied);
        if (decoded) decoded->tell(decoded->context, pixels.height);
        return DecodeStatus::Decoded;
    }
    ComPtr<IWICBitmapSource> converter;
    bool byWayOfBgra = false;
    HRESULT result = converterTo(frame_.Get(), format, byWayOfBgra, converter);
    for (int32_t top = 0; SUCCEEDED(result) && top < pixels.height;) {
        const int32_t rows = std::min<int32_t>(kRowsPerCopy, pixels.height - top);
        const WICRect band = {0, top, pixels.width, rows};
        const auto bytes = static_cast<UINT>(uint64_t{stride} * static_cast<uint32_t>(rows - 1) + rowBytes);
        result = converter->CopyPixels(&band, stride, bytes, pixels.row(top));
        if (result == WINCODEC_ERR_UNSUPPORTEDOPERATION && top == 0 && !byWayOfBgra) {
            byWayOfBgra = true;
            result = converterTo(frame_.Get(), format, byWayOfBgra, converter);
            continue;
        }
        top += rows;
        if (SUCCEEDED(result) && decoded) decoded->tell(decoded->context, top);
    }
    return SUCCEEDED(result) ? DecodeStatus::Decoded : statusOf(result);
}
