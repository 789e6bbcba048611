#include <gtest/gtest.h>

#include "codecs/wic_factory.h"
#include "tests/support/gdiplus_session.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    const GdiplusSession gdiplus;
    if (!gdiplus.started()) return 1;
    // The pictures the tests read through the program's codecs.
    const ThreadImaging imaging;
    return RUN_ALL_TESTS();
}
