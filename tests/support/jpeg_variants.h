#pragma once

#include <string>

#include "tests/support/colour.h"

// JPEG forms that GDI+'s own encoder never writes but cameras and editors do.
enum class JpegVariant { Progressive, Grey, Cmyk, RestartMarkers };

// Writes the quadrants as a JPEG of that form with libjpeg-turbo; true when written.
bool makeJpegVariant(const std::wstring& path, int width, int height, JpegVariant variant, const Quadrants& fill);
