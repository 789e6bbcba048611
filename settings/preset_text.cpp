#include "settings/preset_text.h"

#include <cstring>
#include <string>

#include "settings/size_text.h"

namespace {

const char kQualityPrefix[] = "quality=";

struct KindWord {
    const char* word;
    CopyKind kind;
};
// The first word of each kind is the one written.
const KindWord kKindWords[] = {
    {"jpeg", CopyKind::Jpeg}, {"jpg", CopyKind::Jpeg}, {"png", CopyKind::Png}, {"webp", CopyKind::WebP}};

struct DetailsWord {
    const char* word;
    KeptDetails details;
};
const DetailsWord kDetailsWords[] = {
    {"no-location", KeptDetails::AllButLocation}, {"profile-only", KeptDetails::ColourProfileOnly}};

const char kNeverLarger[] = "never-larger";
const char kKeepDate[] = "keep-date";

// Option words are ASCII; anything else is no option word.
std::string lowerAscii(const Utf8String& word)
{
    std::string lower(word.text() ? word.text() : "", static_cast<size_t>(word.byteLength()));
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// 1 to 100 in plain digits (leading zeros allowed); 0 for anything else.
int32_t qualityOf(const std::string& digits)
{
    if (digits.empty()) return 0;
    int32_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
        if (value > kHighestQuality) return 0;
    }
    return value >= kLowestQuality ? value : 0;
}

// Sets a field that is at its default, or holds the same value already.
template <typename Field>
WordReading setOnce(Field& field, Field value, Field unset)
{
    if (field != unset && field != value) return WordReading::Contradicts;
    field = value;
    return WordReading::Applied;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

}  // namespace

WordReading readOptionWord(const Utf8String& word, PresetOptions& options)
{
    const std::string lower = lowerAscii(word);
    for (const KindWord& kind : kKindWords) {
        if (lower == kind.word) return setOnce(options.kind, kind.kind, CopyKind::AsPicture);
    }
    for (const DetailsWord& details : kDetailsWords) {
        if (lower == details.word) return setOnce(options.details, details.details, KeptDetails::All);
    }
    if (lower.compare(0, sizeof kQualityPrefix - 1, kQualityPrefix) == 0) {
        const int32_t quality = qualityOf(lower.substr(sizeof kQualityPrefix - 1));
        return quality == 0 ? WordReading::Unknown : setOnce(options.quality, quality, 0);
    }
    if (lower == kNeverLarger) return setOnce(options.neverLarger, true, false);
    if (lower == kKeepDate) return setOnce(options.keepDate, true, false);
    return WordReading::Unknown;
}

Utf8String optionWords(const PresetOptions& options)
{
    std::string words;
    const auto add = [&words](const std::string& word) {
        if (!words.empty()) words += ' ';
        words += word;
    };
    for (const KindWord& kind : kKindWords) {
        if (kind.kind == options.kind) {
            add(kind.word);
            break;
        }
    }
    if (options.quality >= kLowestQuality && options.quality <= kHighestQuality)
        add(kQualityPrefix + std::to_string(options.quality));
    for (const DetailsWord& details : kDetailsWords) {
        if (details.details == options.details) add(details.word);
    }
    if (options.neverLarger) add(kNeverLarger);
    if (options.keepDate) add(kKeepDate);
    return Utf8String::fromAnsi(words.c_str());
}

Utf8String presetText(const Preset& preset)
{
    Utf8String text = formatSize(preset.size.width, preset.size.height);
    const Utf8String words = optionWords(preset.options);
    if (words.charCount() > 0) {
        text.append(Utf8String::fromAnsi(" "));
        text.append(words);
    }
    return text;
}

bool parsePresetText(const Utf8String& text, Preset& preset, std::vector<Utf8String>* dropped)
{
    const char* p = text.text() ? text.text() : "";
    const char* const end = p + text.byteLength();
    Preset read;
    bool sizeRead = false;
    std::vector<Utf8String> left;
    while (p < end) {
        while (p < end && isBlank(*p)) ++p;
        const char* wordEnd = p;
        while (wordEnd < end && !isBlank(*wordEnd)) ++wordEnd;
        if (wordEnd == p) break;
        const Utf8String word = Utf8String::fromUtf8(p, static_cast<int32_t>(wordEnd - p));
        p = wordEnd;
        if (!sizeRead) {
            if (!parseSize(word, read.size)) return false;
            sizeRead = true;
        } else if (readOptionWord(word, read.options) != WordReading::Applied) {
            left.push_back(word);
        }
    }
    if (!sizeRead) return false;
    preset = read;
    if (dropped) dropped->insert(dropped->end(), left.begin(), left.end());
    return true;
}

uint32_t readOptionWords(const Utf8String& text, uint32_t start, PresetOptions& options)
{
    const Utf8String blank = Utf8String::fromAnsi(" ");
    uint32_t at = start;
    while (at < text.charCount()) {
        const int32_t blankAt = text.find(blank, at, false);
        const uint32_t wordEnd = blankAt < 0 ? text.charCount() : static_cast<uint32_t>(blankAt);
        if (readOptionWord(text.mid(at, wordEnd - at), options) == WordReading::Unknown) break;
        at = blankAt < 0 ? wordEnd : wordEnd + 1;
    }
    return at;
}
