#pragma once

#include <vector>

#include "settings/preset.h"
#include "text/utf8_string.h"

// The presets offered as resize verbs, in the order they were added, without
// duplicates: two presets of one size with other options are two entries.
class SizeList {
public:
    int32_t indexOf(const Preset& preset) const;
    bool add(const Preset& preset);
    // A preset as typed: its text form (see presetText), every word an option
    // word, or a size alone read as leniently as parseSize reads it.
    bool addText(const Utf8String& text);
    bool removeText(const Utf8String& text);
    void removeAt(int32_t index);
    // Puts a preset in an entry's place; false when that is past the end, or
    // another entry holds the preset already.
    bool replaceAt(int32_t index, const Preset& preset);
    // Each entry's text form.
    std::vector<Utf8String> texts() const;
    int32_t count() const;
    // An empty preset (0 by 0) past the end.
    Preset at(int32_t index) const;

private:
    std::vector<Preset> entries_;
};

// The one list of the process.
extern SizeList sizeList;

// Reads a preset as SizeList::addText takes it.
bool parseTypedPreset(const Utf8String& text, Preset& preset);
