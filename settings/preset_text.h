#pragma once

#include <vector>

#include "settings/preset.h"
#include "text/utf8_string.h"

// A preset's text form, as settings.txt, the verbs' commands and the drop
// targets' servers carry it: the size, then its option words, blank apart,
// in this order, in any letter case when read:
//   jpeg | png | webp              the copy's kind ("jpg" reads as jpeg)
//   quality=N                      1 to 100, for JPEG and lossy WebP copies
//   no-location | profile-only     the details left out
//   never-larger, keep-date
// For example "1024x768 jpeg quality=85 no-location".

// What reading one word did to the options.
enum class WordReading {
    Applied,     // an option word, now set (or set already to the same)
    Contradicts, // an option word at odds with one read before it, which stands
    Unknown,     // no option word
};
WordReading readOptionWord(const Utf8String& word, PresetOptions& options);

// The options' words in their order, blank apart; empty for a plain preset.
Utf8String optionWords(const PresetOptions& options);
// The size, then the option words.
Utf8String presetText(const Preset& preset);

// Reads a size followed by option words, any run of white space apart. Words
// that are no option, or contradict an earlier one, are left out and added
// to `dropped`. False, with nothing read, when the first word is no size.
bool parsePresetText(const Utf8String& text, Preset& preset, std::vector<Utf8String>* dropped = nullptr);

// Reads option words from `start` on, each ended by a blank or by the end of
// the text, until a word that is no option word; a contradicting one is
// passed over. Gives the position of the first word not read.
uint32_t readOptionWords(const Utf8String& text, uint32_t start, PresetOptions& options);
