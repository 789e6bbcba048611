#pragma once

#include <vector>

#include "settings/image_size.h"
#include "text/utf8_string.h"

// The sizes offered as resize verbs, in the order they were added, without
// duplicates.
class SizeList {
public:
    int32_t indexOf(const ImageSize& size) const;
    bool addText(const Utf8String& text);
    bool removeText(const Utf8String& text);
    std::vector<Utf8String> texts() const;
    int32_t count() const;
    ImageSize at(int32_t index) const;

private:
    std::vector<ImageSize> entries_;
};

// The one list of the process.
extern SizeList sizeList;
