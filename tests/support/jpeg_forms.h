#pragma once

#include <cstdio>  // jpeglib.h takes FILE and size_t as known
#include <vector>

#include <jpeglib.h>

#include "tests/support/colour.h"

// JPEG forms that cameras and editors write but the program's own encoder
// never does, written by libjpeg itself.
struct JpegForm {
    J_COLOR_SPACE colours = JCS_YCbCr;  // or JCS_GRAYSCALE, JCS_CMYK, JCS_YCCK
    bool progressive = false;
    bool arithmetic = false;
    int restartRows = 0;
    bool manyScans = false;  // grey only: each coefficient in ten successive scans
    int quality = 75;
};

// The quadrants as a JPEG file of that form: grey as their luma, CMYK and
// YCCK as Adobe's inverted inks; with the ICC profile as APP2 segments when given.
std::vector<unsigned char> jpegInForm(const JpegForm& form, int width, int height, const Quadrants& fill,
                                      const std::vector<unsigned char>& profile = {});

// The luma that a grey JPEG holds for the colour.
int lumaOf(const Colour& colour);
