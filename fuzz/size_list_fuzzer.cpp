// Size texts as typed into the dialog, one a line ("-" first removes it):
// parseSize, and a size list that never holds a duplicate or a size below
// 1x1, whose texts and settings file read back as its entries.
#include <algorithm>

#include "fuzz/fuzz_support.h"
#include "fuzz/reference_model.h"
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

std::string canonicalText(const ImageSize& size)
{
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

void checkList(const SizeList& list, const std::vector<ImageSize>& model)
{
    require(list.count() == static_cast<int32_t>(model.size()), "the list counts its entries");
    const std::vector<Utf8String> texts = list.texts();
    require(texts.size() == model.size(), "one text per entry");
    for (int32_t i = 0; i < list.count(); ++i) {
        const ImageSize entry = list.at(i);
        require(entry == model[static_cast<size_t>(i)], "entries stay in the order they were added");
        require(entry.width > 0 && entry.height > 0, "every entry is at least 1x1");
        require(list.indexOf(entry) == i, "no entry is there twice");
        ImageSize reread;
        require(checkedParse(texts[static_cast<size_t>(i)], reread) && reread == entry, "a text reads back as its entry");
        require(bytesOf(texts[static_cast<size_t>(i)]) == canonicalText(entry), "texts are canonical WxH");
    }
    require(list.at(-1) == ImageSize() && list.at(list.count()) == ImageSize(), "out of range reads as 0x0");
}

void checkSettingsRoundTrip(const SizeList& list)
{
    SizeList reread;
    SettingsTokenizer tokenizer([&reread](const Utf8String& token) { reread.addText(token); });
    const std::string text = settingsText(list);
    tokenizer.feed(text.data(), text.size());
    tokenizer.finish();
    require(reread.count() == list.count(), "the settings file holds every entry");
    for (int32_t i = 0; i < list.count(); ++i)
        require(reread.at(i) == list.at(i), "the settings file reads back in list order");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(bytes), size);
    SizeList list;
    std::vector<ImageSize> model;
    for (size_t offset = 0; offset < input.size();) {
        const size_t newline = std::min(input.find('\n', offset), input.size());
        const std::string line = input.substr(offset, newline - offset);
        offset = newline + 1;

        const bool removing = !line.empty() && line[0] == '-';
        const Utf8String text = utf8Of(removing ? line.substr(1) : line);
        ImageSize parsed;
        const bool valid = checkedParse(text, parsed);
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
