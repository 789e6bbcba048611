#pragma once

#include <string>

enum class Encoding { Jpeg, Png, Gif, Bmp, Tiff, WebP, Unknown, Missing };

const char* encodingName(Encoding encoding);

// Which encoder wrote a file, told by its first bytes, whatever its name says.
Encoding encodingOf(const std::wstring& path);

// "GIF, 24 bytes": what a failure message says about a file.
std::string fileSummary(const std::wstring& path);

// True for a PNG whose header names colour type 3 (a palette picture).
bool isPalettePng(const std::wstring& path);
