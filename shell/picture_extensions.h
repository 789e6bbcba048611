#pragma once

#include <vector>

#include "text/utf8_string.h"

// The longest extension that gets verbs, its dot included.
constexpr uint32_t kMaxPictureExtension = 32;

// Adds the extensions of a codec's list (".bmp,.dib,.rle" or ".jpg;.jpeg",
// blanks around each allowed) to the set, lower-cased, each once. A name
// that is not a plain extension, a dot and up to 31 printable ASCII
// characters that a file name can hold, is passed over.
void addPictureExtensions(const Utf8String& codecList, std::vector<Utf8String>& extensions);

// The extensions of the program's own codecs, JPEG's, WebP's and PNG's,
// which need no Windows codec.
std::vector<Utf8String> ownPictureExtensions();

// Those, and the kinds Windows reads everywhere: for when its codecs cannot
// be asked.
std::vector<Utf8String> fallbackPictureExtensions();

// Whether the path's text from its last dot on is one of the set, in any
// letter case.
bool hasPictureExtension(const std::vector<Utf8String>& extensions, const Utf8String& path);
