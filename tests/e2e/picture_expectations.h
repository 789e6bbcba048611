#pragma once

#include <gtest/gtest.h>

#include "tests/support/colour.h"
#include "tests/support/picture_reader.h"

// Scaling blends neighbours (Wine draws bicubic as bilinear), JPEG is lossy
// and a palette may round: colours are compared within this distance.
inline constexpr int kColourTolerance = 48;

// The picture shows the four colours, each in the middle of its quadrant.
inline testing::AssertionResult showsQuadrants(const DecodedPicture& picture, const Quadrants& expected)
{
    const Quadrants actual = picture.quadrantCentres();
    if (nearColour(actual.topLeft, expected.topLeft, kColourTolerance) &&
        nearColour(actual.topRight, expected.topRight, kColourTolerance) &&
        nearColour(actual.bottomLeft, expected.bottomLeft, kColourTolerance) &&
        nearColour(actual.bottomRight, expected.bottomRight, kColourTolerance))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "quadrants " << actual.topLeft << " " << actual.topRight << " / "
                                       << actual.bottomLeft << " " << actual.bottomRight << ", expected "
                                       << expected.topLeft << " " << expected.topRight << " / "
                                       << expected.bottomLeft << " " << expected.bottomRight;
}
