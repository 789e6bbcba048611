#include <gtest/gtest.h>

#include <cstring>

#include "text/utf8_sequence.h"

TEST(Utf8Sequence, LeadByteRuleCountsEveryByteValue)
{
    const struct {
        unsigned first, last;
        int length;
    } rows[] = {{0x00, 0x7F, 1}, {0x80, 0xDF, 2}, {0xE0, 0xEF, 3}, {0xF0, 0xF7, 4}, {0xF8, 0xFB, 5}, {0xFC, 0xFF, 6}};
    for (const auto& row : rows) {
        for (unsigned byte = row.first; byte <= row.last; ++byte)
            EXPECT_EQ(utf8SequenceLength(static_cast<unsigned char>(byte)), row.length) << byte;
    }
}

TEST(Utf8Sequence, EncodesAndDecodesEveryLength)
{
    const uint32_t codePoints[] = {0x41, 0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0x10000, 0x1F600, 0x1FFFFF,
                                   0x200000, 0x3FFFFFF, 0x4000000, 0x7FFFFFFF};
    const int lengths[] = {1, 1, 2, 2, 3, 3, 4, 4, 4, 5, 5, 6, 6};
    for (size_t i = 0; i < sizeof codePoints / sizeof codePoints[0]; ++i) {
        char bytes[7] = {};
        ASSERT_EQ(encodeUtf8Sequence(codePoints[i], bytes), lengths[i]);
        EXPECT_EQ(decodeUtf8Sequence(bytes, bytes + lengths[i]), codePoints[i]);
    }
}

TEST(Utf8Sequence, NeverReadsPastTheEnd)
{
    // A four-byte lead with only two bytes before the end: decoded from what
    // is there, and the walk stops at the end.
    const char text[] = "\xF0\x9F";
    const char* end = text + 2;
    EXPECT_EQ(decodeUtf8Sequence(text, end), ((0xF0u & 0x07) << 6) | 0x1F);
    EXPECT_EQ(nextUtf8Sequence(text, end), end);
    EXPECT_EQ(nextUtf8Sequence(end, end), end);
    EXPECT_EQ(decodeUtf8Sequence(end, end), 0u);
    // Continuation bytes are taken as they are, whatever their top bits.
    const char loose[] = "\xC3\x29";
    EXPECT_EQ(decodeUtf8Sequence(loose, loose + 2), (0x03u << 6) | 0x29);
}

TEST(Utf8Sequence, DecimalDigitCountByPowersOfTen)
{
    const struct {
        uint32_t value;
        int digits;
    } rows[] = {{0, 1}, {9, 1}, {10, 2}, {99, 2}, {100, 3}, {999999999, 9}, {1000000000, 10}, {4294967295u, 10}};
    for (const auto& row : rows) EXPECT_EQ(decimalDigitCount(row.value), row.digits) << row.value;
}
