#pragma once

#include <functional>
#include <string>

#include "imaging/picture.h"
#include "tests/support/colour.h"

enum class PictureFormat { Jpeg, Png, Gif, Bmp, Tiff };

// Writes a picture of the given size and format, its quadrants filled with
// the given colours (the right and bottom halves take the odd pixel). GDI+
// must be running. True when the file was written. A GIF is always written
// as a palette picture: Wine's GIF encoder writes no pixels from any other.
bool makePicture(const std::wstring& path, int width, int height, PictureFormat format, const Quadrants& fill);

// A picture of the colour the function gives for each pixel, alpha included
// (written from 32-bit ARGB, so a PNG keeps it).
bool makePixelPicture(const std::wstring& path, int width, int height, PictureFormat format,
                      const std::function<Colour(int x, int y)>& pixel);

// The same as an 8-bit palette picture whose palette holds just the four
// colours, the kind that GDI+ decodes to an indexed pixel format.
bool makePalettePicture(const std::wstring& path, int width, int height, PictureFormat format,
                        const Quadrants& fill);

// The picture's copy of that kind, encoded and written as the whole file at path.
bool savePicture(Picture& image, const Utf8String& path, PictureKind kind);
