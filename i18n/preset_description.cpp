#include "i18n/preset_description.h"

#include <vector>

#include "i18n/translation_table.h"
#include "settings/size_text.h"
#include "text/number_format.h"

static Utf8String translated(const char* english)
{
    return translate(Utf8String::fromAnsi(english));
}

// The kind's name, with the quality after it ("JPEG 85"); the quality
// alone when the kind is the picture's own ("quality 85").
static Utf8String kindAndQuality(const PresetOptions& options)
{
    static const char* const kKindNames[] = {nullptr, "JPEG", "PNG", "WebP"};
    const char* kind = kKindNames[static_cast<int>(options.kind)];
    const Utf8String quality = options.quality > 0 ? Utf8String::fromInt(options.quality) : Utf8String();
    if (!kind) {
        if (quality.charCount() == 0) return quality;
        const Utf8String english = Utf8String::fromAnsi("quality %s");
        return formatTexts(translate(english), english, {quality});
    }
    Utf8String text = Utf8String::fromAnsi(kind);
    // PNG copies are lossless: a quality says nothing of them.
    if (quality.charCount() > 0 && options.kind != CopyKind::Png) {
        text.append(Utf8String::fromAnsi(" "));
        text.append(quality);
    }
    return text;
}

Utf8String presetDescription(const PresetOptions& options)
{
    std::vector<Utf8String> parts;
    const Utf8String kind = kindAndQuality(options);
    if (kind.charCount() > 0) parts.push_back(kind);
    if (options.details == KeptDetails::AllButLocation) parts.push_back(translated("no location"));
    if (options.details == KeptDetails::ColourProfileOnly) parts.push_back(translated("colour profile only"));
    if (options.neverLarger) parts.push_back(translated("never larger"));
    if (options.keepDate) parts.push_back(translated("picture's date"));
    Utf8String description;
    for (const Utf8String& part : parts) {
        if (description.charCount() > 0) description.append(Utf8String::fromAnsi(", "));
        description.append(part);
    }
    return description;
}

static Utf8String sizeWith(const Preset& preset, const char* before, const char* after)
{
    Utf8String text = formatSize(preset.size.width, preset.size.height);
    const Utf8String description = presetDescription(preset.options);
    if (description.charCount() == 0) return text;
    text.append(Utf8String::fromAnsi(before));
    text.append(description);
    text.append(Utf8String::fromAnsi(after));
    return text;
}

Utf8String verbPresetText(const Preset& preset)
{
    return sizeWith(preset, " (", ")");
}

Utf8String listedPresetText(const Preset& preset)
{
    return sizeWith(preset, " - ", "");
}
