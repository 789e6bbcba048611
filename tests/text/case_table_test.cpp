#include "text/case_table.h"

#include <gtest/gtest.h>

namespace {

struct CaseRow {
    uint32_t codePoint;
    uint32_t upper;
};

bool foldsToAnother(uint32_t codePoint)
{
    const uint32_t upper = upperCaseOf(codePoint);
    return upper != kNoUpperCase && upper != codePoint;
}

} // namespace

TEST(CaseTable, GivesTheExpectedUppercaseForms)
{
    const CaseRow rows[] = {
        {0x0041, 0x0041}, // A is its own uppercase
        {0x005B, kNoUpperCase}, // [
        {0x00E0, 0x00C0}, // à
        {0x00FF, 0x0178}, // ÿ
        {0x0131, 0x0049}, // dotless i
        {0x017F, 0x0053}, // long s
        {0x00DF, kNoUpperCase}, // sharp s
        {0x00B5, kNoUpperCase}, // micro sign
        {0x01C4, 0x01C4}, // DŽ
        {0x01C5, 0x01C5}, // Dž
        {0x01C6, 0x01C5}, // dž
        {0x01C9, 0x01C8}, // lj
        {0x01CC, 0x01CB}, // nj
        {0x01F3, 0x01F2}, // dz
        {0x0345, kNoUpperCase}, // combining ypogegrammeni
        {0x03C2, 0x03A3}, // final sigma
        {0x0451, 0x0401}, // ё
        {0x2170, 0x2160}, // small roman numeral one
        {0x24D0, 0x24B6}, // circled a
        {0xFF41, 0xFF21}, // fullwidth a
        {0x10428, kNoUpperCase}, // Deseret, beyond the table
    };
    for (const CaseRow& row : rows)
        EXPECT_EQ(upperCaseOf(row.codePoint), row.upper) << std::hex << "U+" << row.codePoint;

    for (uint32_t c = 'a'; c <= 'z'; ++c)
        EXPECT_EQ(upperCaseOf(c), c - 'a' + 'A') << static_cast<char>(c);
    for (uint32_t c = 0x0430; c <= 0x044F; ++c)
        EXPECT_EQ(upperCaseOf(c), c - 0x20) << std::hex << "U+" << c;
}

TEST(CaseTable, FoldsOnlyWithinTheThreeSpans)
{
    struct Span {
        uint32_t first;
        uint32_t last;
        int folding;
    };
    const Span spans[] = {
        {0x0061, 0x2D25, 879},
        {0xA641, 0xA78C, 80},
        {0xFF41, 0xFF5A, 26},
    };
    for (const Span& span : spans) {
        int folding = 0;
        for (uint32_t c = span.first; c <= span.last; ++c)
            if (foldsToAnother(c)) ++folding;
        EXPECT_EQ(folding, span.folding) << std::hex << "U+" << span.first;
    }

    for (uint32_t c = 0; c <= 0x10FFFF; ++c) {
        bool inSpan = false;
        for (const Span& span : spans)
            inSpan = inSpan || (c >= span.first && c <= span.last);
        if (!inSpan) {
            EXPECT_FALSE(foldsToAnother(c)) << std::hex << "U+" << c;
        }
    }
}

TEST(CaseTable, HasNoUppercaseOutsideItsRanges)
{
    const uint32_t outside[] = {0, 0x40, 0x33D5, 0xA63F, 0xAA4B, 0xFAFF, 0xFFDC, 0x10428, 0x10FFFF, 0xFFFFFFFF};
    for (uint32_t c : outside)
        EXPECT_EQ(upperCaseOf(c), kNoUpperCase) << std::hex << "U+" << c;
    for (uint32_t c = 0xFFDC; c <= 0x10FFFF; ++c)
        ASSERT_EQ(upperCaseOf(c), kNoUpperCase) << std::hex << "U+" << c;
}
