#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iterator>
#include <optional>
#include <string>

#include "codecs/webp_encoder.h"
#include "tests/e2e/fault_checks.h"
#include "tests/e2e/pellavo_runner.h"
#include "tests/e2e/resize_workspace.h"
#include "tests/support/file_system.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_pictures.h"

namespace {

// A picture as GDI+ writes it; empty when it could not be made.
Bytes pictureBytes(int width, int height, PictureFormat format)
{
    const TempFolder scratch;
    const std::wstring path = scratch.file(L"picture");
    if (scratch.path().empty() || !makePicture(path, width, height, format, kFourColours)) return {};
    return readFileBytes(path).value_or(Bytes());
}

// The first half of a JPEG, cut inside its compressed pixels: the headers
// and the start-of-scan marker (FF DA) are whole, so only the data ends early.
Bytes truncatedJpeg()
{
    Bytes bytes = pictureBytes(400, 300, PictureFormat::Jpeg);
    bytes.resize(bytes.size() / 2);
    const unsigned char startOfScan[] = {0xFF, 0xDA};
    if (std::search(bytes.begin(), bytes.end(), std::begin(startOfScan), std::end(startOfScan)) == bytes.end())
        return {};
    return bytes;
}

// A whole JPEG with a run of its compressed pixels made all one bits, which
// no Huffman table holds as a code.
Bytes corruptJpeg()
{
    Bytes bytes = pictureBytes(400, 300, PictureFormat::Jpeg);
    const unsigned char startOfScan[] = {0xFF, 0xDA};
    const auto scan = std::search(bytes.begin(), bytes.end(), std::begin(startOfScan), std::end(startOfScan));
    const size_t at = static_cast<size_t>(scan - bytes.begin()) + (bytes.end() - scan) / 3;
    if (scan == bytes.end() || at + 64 > bytes.size()) return {};
    for (size_t i = 0; i < 64; i += 2) {
        bytes[at + i] = 0xFF;
        bytes[at + i + 1] = 0x00;
    }
    return bytes;
}

// The first half of a picture file.
Bytes firstHalf(Bytes bytes)
{
    bytes.resize(bytes.size() / 2);
    return bytes;
}

Bytes webpBytes(bool lossless)
{
    PixelBuffer pixels;
    if (!pixels.allocate(200, 150, 3)) return {};
    const MutablePixelView view = pixels.mutableView();
    for (int32_t y = 0; y < view.height; ++y)
        for (int32_t x = 0; x < view.width * 3; ++x) view.row(y)[x] = static_cast<uint8_t>(x * 7 + y * 3);
    std::vector<uint8_t> file;
    if (!encodeWebp(pixels.view(), {}, lossless, file)) return {};
    return Bytes(file.begin(), file.end());
}

// A lossless WebP whose compressed data is overwritten from its middle on:
// lossy data has no check a decoder could fail on.
Bytes corruptWebp()
{
    Bytes bytes = webpBytes(true);
    for (size_t i = bytes.size() / 2; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 131);
    return bytes;
}

// What an iPhone's photo starts with: a HEIF brand, which only an installed codec reads.
Bytes heicStart()
{
    const std::string head("\0\0\0\x18" "ftypheic\0\0\0\0mif1heic", 24);
    Bytes bytes(head.begin(), head.end());
    bytes.resize(4096, 0);
    return bytes;
}

// A PNG with one byte of its compressed pixels changed, which its check finds.
Bytes corruptPng()
{
    Bytes bytes = pictureBytes(400, 300, PictureFormat::Png);
    const unsigned char data[] = {'I', 'D', 'A', 'T'};
    const auto chunk = std::search(bytes.begin(), bytes.end(), std::begin(data), std::end(data));
    if (bytes.end() - chunk < 64) return {};
    chunk[40] ^= 0x55;
    return bytes;
}

Bytes textBytes()
{
    const std::string text = "These are notes, not a picture.\r\n";
    return Bytes(text.begin(), text.end());
}

uint32_t crc32Of(const unsigned char* bytes, size_t count)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void putBigEndian(Bytes& bytes, size_t at, uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (24 - 8 * i));
}

// A valid tiny PNG whose header claims 100000 x 100000 pixels, with the
// header's CRC made right so that a decoder believes it.
Bytes hugeClaimingPng()
{
    Bytes bytes = pictureBytes(4, 4, PictureFormat::Png);
    // Signature (8), IHDR length (4), "IHDR" at 12, width at 16, height at 20,
    // 13 data bytes in all, then the CRC of type and data at 29.
    constexpr size_t kType = 12;
    constexpr size_t kWidth = 16;
    constexpr size_t kHeight = 20;
    constexpr size_t kCrc = 29;
    if (bytes.size() < kCrc + 4 || std::string(bytes.begin() + kType, bytes.begin() + kType + 4) != "IHDR") return {};
    putBigEndian(bytes, kWidth, 100000);
    putBigEndian(bytes, kHeight, 100000);
    putBigEndian(bytes, kCrc, crc32Of(bytes.data() + kType, kCrc - kType));
    return bytes;
}

struct UnreadableCase {
    const wchar_t* source;
    std::function<Bytes()> bytes;
    bool empty;
};

}  // namespace

TEST(FaultPicture, TheHugeClaimingPngCarriesAValidHeader)
{
    // The CRC above is the one zlib and every PNG decoder compute.
    const std::string check = "123456789";
    EXPECT_EQ(crc32Of(reinterpret_cast<const unsigned char*>(check.data()), check.size()), 0xCBF43926u);
    const Bytes png = hugeClaimingPng();
    ASSERT_FALSE(png.empty());
    EXPECT_EQ(png[16], 0x00);
    EXPECT_EQ(png[17], 0x01);
    EXPECT_EQ(png[18], 0x86);
    EXPECT_EQ(png[19], 0xA0);
}

TEST_F(ResizeCommand, WritesNothingForAPictureThatDoesNotDecode)
{
    const UnreadableCase cases[] = {
        {L"truncated.jpg", truncatedJpeg, false},
        {L"corrupt.jpg", corruptJpeg, false},
        {L"empty.jpg", [] { return Bytes(); }, true},
        {L"notes.jpg", textBytes, false},
        {L"huge.png", hugeClaimingPng, false},
        {L"truncated.png", [] { return firstHalf(pictureBytes(400, 300, PictureFormat::Png)); }, false},
        {L"truncated.tif", [] { return firstHalf(pictureBytes(400, 300, PictureFormat::Tiff)); }, false},
        {L"truncated.webp", [] { return firstHalf(webpBytes(false)); }, false},
        {L"truncated-lossless.webp", [] { return firstHalf(webpBytes(true)); }, false},
        {L"corrupt.webp", corruptWebp, false},
        {L"corrupt.png", corruptPng, false},
        {L"IMG_0042.heic", heicStart, false},
    };
    for (const UnreadableCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source);
        ResizeWorkspace workspace;
        ASSERT_TRUE(workspace.ready());
        const Bytes bytes = c.bytes();
        ASSERT_EQ(bytes.empty(), c.empty) << "could not make the file's bytes";
        ASSERT_TRUE(writeFileBytes(workspace.picture(c.source), bytes));
        const FolderContent before = contentOf(workspace.pictures());

        EXPECT_TRUE(runsPellavo(L"-size 800x600 " + workspace.picture(c.source)));

        EXPECT_TRUE(noCrashHandlerRunning());
        EXPECT_TRUE(wroteNothing(workspace, {c.source}));
        EXPECT_TRUE(holdsAsBefore(workspace.pictures(), before));
    }
}
