#include "settings/size_list.h"

#include <cstddef>

#include "settings/size_text.h"

SizeList sizeList;

int32_t SizeList::indexOf(const ImageSize& size) const
{
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i] == size) return static_cast<int32_t>(i);
    }
    return -1;
}

bool SizeList::addText(const Utf8String& text)
{
    ImageSize size;
    if (!parseSize(text, size) || indexOf(size) >= 0) return false;
    entries_.push_back(size);
    return true;
}

bool SizeList::removeText(const Utf8String& text)
{
    ImageSize size;
    if (!parseSize(text, size)) return false;
    const int32_t index = indexOf(size);
    if (index < 0) return false;
    entries_.erase(entries_.begin() + index);
    return true;
}

std::vector<Utf8String> SizeList::texts() const
{
    std::vector<Utf8String> result;
    result.reserve(entries_.size());
    for (const ImageSize& size : entries_) result.push_back(formatSize(size.width, size.height));
    return result;
}

int32_t SizeList::count() const
{
    return static_cast<int32_t>(entries_.size());
}

ImageSize SizeList::at(int32_t index) const
{
    if (index < 0 || index >= count()) return ImageSize();
    return entries_[static_cast<size_t>(index)];
}
