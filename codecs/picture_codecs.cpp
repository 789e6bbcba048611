#include "codecs/picture_codecs.h"

#include <cstring>
#include <new>

#include "codecs/jpeg_decoder.h"
#include "codecs/picture_signature.h"
#include "codecs/png_decoder.h"
#include "codecs/webp_decoder.h"

namespace {

// The source a decoder reads lazily lives as long as the decoder: destroyed
// after it, as a base class declared first.
struct OwnedSource {
    std::unique_ptr<ByteSource> source;
};

template <typename Decoder>
struct DecoderWithSource final : OwnedSource, Decoder {
    explicit DecoderWithSource(std::unique_ptr<ByteSource> owned) : OwnedSource{std::move(owned)} {}
};

template <typename Decoder>
DecodeStatus openWith(std::unique_ptr<ByteSource> source, std::unique_ptr<PictureDecoder>& decoder)
{
    std::unique_ptr<DecoderWithSource<Decoder>> opened(new (std::nothrow) DecoderWithSource<Decoder>(std::move(source)));
    if (!opened) return DecodeStatus::OutOfMemory;
    const DecodeStatus status = opened->readHeader(*opened->source);
    if (status == DecodeStatus::Decoded) decoder = std::move(opened);
    return status;
}

struct OwnCodec {
    bool (*isItsKind)(const uint8_t* head, size_t count);
    DecodeStatus (*open)(std::unique_ptr<ByteSource> source, std::unique_ptr<PictureDecoder>& decoder);
};

const OwnCodec kOwnCodecs[] = {
    {isJpegSignature, openWith<JpegDecoder>},
    {isPngSignature, openWith<PngDecoder>},
    {isWebpSignature, openWith<WebpDecoder>},
};

bool startsWith(const uint8_t* head, size_t count, size_t at, const char* text, size_t length)
{
    return count >= at + length && std::memcmp(head + at, text, length) == 0;
}

}  // namespace

DecodeStatus openOwnDecoder(const uint8_t* head, size_t count, std::unique_ptr<ByteSource> source,
                            std::unique_ptr<PictureDecoder>& decoder)
{
    decoder.reset();
    for (const OwnCodec& codec : kOwnCodecs) {
        if (codec.isItsKind(head, count)) return codec.open(std::move(source), decoder);
    }
    return DecodeStatus::NotForThisDecoder;
}

bool needsAnInstalledCodec(const uint8_t* head, size_t count)
{
    // ISO base media files name their brand after "ftyp".
    for (const char* brand : {"heic", "heix", "hevc", "heim", "heis", "mif1", "msf1", "avif", "avis"}) {
        if (startsWith(head, count, 4, "ftyp", 4) && startsWith(head, count, 8, brand, 4)) return true;
    }
    return startsWith(head, count, 0, "\xFF\x0A", 2) ||
           startsWith(head, count, 0, "\0\0\0\x0CJXL \r\n\x87\n", 12);
}
