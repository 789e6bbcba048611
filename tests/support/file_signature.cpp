#include "tests/support/file_signature.h"

#include <cstring>

#include "tests/support/file_system.h"

const char* encodingName(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Jpeg: return "JPEG";
    case Encoding::Png: return "PNG";
    case Encoding::Gif: return "GIF";
    case Encoding::Bmp: return "BMP";
    case Encoding::Tiff: return "TIFF";
    case Encoding::WebP: return "WebP";
    case Encoding::Unknown: return "unknown";
    case Encoding::Missing: return "no file";
    }
    return "?";
}

static bool startsWith(const Bytes& bytes, const char* signature, size_t length)
{
    return bytes.size() >= length && std::memcmp(bytes.data(), signature, length) == 0;
}

Encoding encodingOf(const std::wstring& path)
{
    const std::optional<Bytes> bytes = readFileBytes(path);
    if (!bytes) return Encoding::Missing;
    if (startsWith(*bytes, "\xFF\xD8\xFF", 3)) return Encoding::Jpeg;
    if (startsWith(*bytes, "\x89PNG", 4)) return Encoding::Png;
    if (startsWith(*bytes, "GIF8", 4)) return Encoding::Gif;
    if (startsWith(*bytes, "BM", 2)) return Encoding::Bmp;
    if (startsWith(*bytes, "II*\0", 4) || startsWith(*bytes, "MM\0*", 4)) return Encoding::Tiff;
    if (bytes->size() >= 12 && startsWith(*bytes, "RIFF", 4) && std::memcmp(bytes->data() + 8, "WEBP", 4) == 0)
        return Encoding::WebP;
    return Encoding::Unknown;
}

std::string fileSummary(const std::wstring& path)
{
    const std::optional<Bytes> bytes = readFileBytes(path);
    if (!bytes) return "no such file";
    return std::string(encodingName(encodingOf(path))) + ", " + std::to_string(bytes->size()) + " bytes";
}

bool isPalettePng(const std::wstring& path)
{
    // Signature (8 bytes), IHDR length and type (8), width and height (8), bit depth, colour type.
    const std::optional<Bytes> bytes = readFileBytes(path);
    return bytes && bytes->size() > 25 && startsWith(*bytes, "\x89PNG", 4) && (*bytes)[25] == 3;
}
