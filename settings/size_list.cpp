#include "settings/size_list.h"

#include <cstddef>

#include "settings/preset_text.h"
#include "settings/size_text.h"

SizeList sizeList;

bool parseTypedPreset(const Utf8String& text, Preset& preset)
{
    std::vector<Utf8String> dropped;
    if (parsePresetText(text, preset, &dropped)) return dropped.empty();
    // A size typed with blanks in it (" 800 x 600"), as every release read it.
    preset = Preset();
    return parseSize(text, preset.size);
}

int32_t SizeList::indexOf(const Preset& preset) const
{
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i] == preset) return static_cast<int32_t>(i);
    }
    return -1;
}

bool SizeList::add(const Preset& preset)
{
    if (preset.size.width <= 0 || preset.size.height <= 0 || indexOf(preset) >= 0) return false;
    entries_.push_back(preset);
    return true;
}

bool SizeList::addText(const Utf8String& text)
{
    Preset preset;
    return parseTypedPreset(text, preset) && add(preset);
}

bool SizeList::removeText(const Utf8String& text)
{
    Preset preset;
    if (!parseTypedPreset(text, preset)) return false;
    const int32_t index = indexOf(preset);
    if (index < 0) return false;
    removeAt(index);
    return true;
}

void SizeList::removeAt(int32_t index)
{
    if (index >= 0 && index < count()) entries_.erase(entries_.begin() + index);
}

bool SizeList::replaceAt(int32_t index, const Preset& preset)
{
    const int32_t holder = indexOf(preset);
    if (index < 0 || index >= count() || (holder >= 0 && holder != index)) return false;
    entries_[static_cast<size_t>(index)] = preset;
    return true;
}

std::vector<Utf8String> SizeList::texts() const
{
    std::vector<Utf8String> result;
    result.reserve(entries_.size());
    for (const Preset& preset : entries_) result.push_back(presetText(preset));
    return result;
}

int32_t SizeList::count() const
{
    return static_cast<int32_t>(entries_.size());
}

Preset SizeList::at(int32_t index) const
{
    if (index < 0 || index >= count()) return Preset();
    return entries_[static_cast<size_t>(index)];
}
