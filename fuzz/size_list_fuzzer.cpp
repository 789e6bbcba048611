// Presets as typed into the dialog, one a line ("-" first removes it):
// parseSize, and a size list that never holds a duplicate or a size below
// 1x1, whose texts and settings file read back as its entries.
#include <algorithm>

#include "fuzz/fuzz_support.h"
#include "fuzz/reference_model.h"
#include "settings/preset_text.h"
#include "settings/settings_tokens.h"
#include "settings/size_list.h"
#include "settings/size_text.h"

namespace {

bool checkedParse(const Utf8String& text, ImageSize& size)
{
    size = ImageSize{-7, -7};
    const bool parsed = parseSize(text, size);
    require(parsed ? size.width > 0 && size.height > 0 : size == ImageSize(), "parseSize gives a real size or 0x0");
    const std::string bytes = bytesOf(text);
    if (isPlainAscii(bytes)) {
        ImageSize expected;
        require(modelParseSize(bytes, expected) == parsed && expected == size, "parseSize reads WxH as the model");
    }
    return parsed;
}

// A preset read as the dialog reads what is typed.
bool checkedTypedParse(const Utf8String& text, Preset& preset)
{
    const bool parsed = parseTypedPreset(text, preset);
    if (parsed) require(preset.size.width > 0 && preset.size.height > 0, "a typed preset has a real size");
    ImageSize size;
    // A bare size reads as parseSize reads it.
    if (checkedParse(text, size) && bytesOf(text).find_first_of(" \t\r\n\v\f") == std::string::npos)
        require(parsed && preset == Preset{size, {}}, "a size alone is a plain preset");
    return parsed;
}

void checkList(const SizeList& list, const std::vector<Preset>& model)
{
    require(list.count() == static_cast<int32_t>(model.size()), "the list counts its entries");
    const std::vector<Utf8String> texts = list.texts();
    require(texts.size() == model.size(), "one text per entry");
    for (int32_t i = 0; i < list.count(); ++i) {
        const Preset entry = list.at(i);
        require(entry == model[static_cast<size_t>(i)], "entries stay in the order they were added");
        require(entry.size.width > 0 && entry.size.height > 0, "every entry is at least 1x1");
        require(list.indexOf(entry) == i, "no entry is there twice");
        Preset reread;
        std::vector<Utf8String> dropped;
        require(parsePresetText(texts[static_cast<size_t>(i)], reread, &dropped) && dropped.empty() && reread == entry,
                "a text reads back as its entry");
        require(bytesOf(texts[static_cast<size_t>(i)]) == bytesOf(presetText(entry)), "texts are canonical");
    }
    require(list.at(-1) == Preset() && list.at(list.count()) == Preset(), "out of range reads as an empty preset");
}

void checkSettingsRoundTrip(const SizeList& list)
{
    SettingsPresets reread;
    SettingsTokenizer tokenizer([&reread](const Utf8String& token) { reread.token(token); },
                                [&reread] { reread.lineEnd(); });
    const std::string text = settingsText(list);
    tokenizer.feed(text.data(), text.size());
    tokenizer.finish();
    require(reread.droppedWords().empty(), "the settings file holds only what it reads");
    require(reread.list().count() == list.count(), "the settings file holds every entry");
    for (int32_t i = 0; i < list.count(); ++i)
        require(reread.list().at(i) == list.at(i), "the settings file reads back in list order");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(bytes), size);
    SizeList list;
    std::vector<Preset> model;
    for (size_t offset = 0; offset < input.size();) {
        const size_t newline = std::min(input.find('\n', offset), input.size());
        const std::string line = input.substr(offset, newline - offset);
        offset = newline + 1;

        const bool removing = !line.empty() && line[0] == '-';
        const Utf8String text = utf8Of(removing ? line.substr(1) : line);
        Preset parsed;
        const bool valid = checkedTypedParse(text, parsed);
        const auto at = std::find(model.begin(), model.end(), parsed);
        if (removing) {
            require(list.removeText(text) == (valid && at != model.end()), "removeText removes a listed size only");
            if (valid && at != model.end()) model.erase(at);
        } else {
            require(list.addText(text) == (valid && at == model.end()), "addText adds a new valid size only");
            if (valid && at == model.end()) model.push_back(parsed);
        }
    }
    checkList(list, model);
    checkSettingsRoundTrip(list);
    return 0;
}
