#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "codecs/byte_source.h"
#include "codecs/picture_decoder.h"

// How much of a file's start the codecs look at to tell its kind.
constexpr size_t kHeadBytes = 32;

// Opens the decoder of the program's own codecs (libjpeg-turbo for JPEG, in
// grey, colour or inks; libspng for PNG; libwebp for WebP) whose kind the file's first bytes show, and reads
// the file's head through `source`, which the decoder then owns;
// NotForThisDecoder when none of them is the file's.
DecodeStatus openOwnDecoder(const uint8_t* head, size_t count, std::unique_ptr<ByteSource> source,
                            std::unique_ptr<PictureDecoder>& decoder);

// Whether the first bytes are those of a kind that only a codec Windows may
// have installed decodes (HEIF and AVIF, JPEG XL): without one, the picture
// is not foreign, only not readable here.
bool needsAnInstalledCodec(const uint8_t* head, size_t count);
