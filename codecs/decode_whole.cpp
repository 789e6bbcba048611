#include "codecs/decode_whole.h"

DecodeStatus decodeWhole(PictureDecoder& decoder, const ImageSize& smallest, PixelBuffer& pixels)
{
    pixels = PixelBuffer();
    const DecodeStatus started = decoder.start(smallest);
    if (started != DecodeStatus::Decoded) return started;
    const ImageSize size = decoder.decodedSize();
    if (!pixels.allocate(size.width, size.height, decoder.channels())) return DecodeStatus::OutOfMemory;
    const DecodeStatus read = decoder.readPixels(pixels.mutableView(), nullptr);
    if (read != DecodeStatus::Decoded) pixels = PixelBuffer();
    return read;
}
