// The texts of the route a whole selection takes: a class id read from a
// verb's DropTarget (any registry text), the server's own arguments, the
// progress line in any translated format, and the account of the pictures
// that gave no copy, under any translation and for any names. An id is only
// ever the program's when it reads back to the preset it was made from.
#include <string>
#include <vector>

#include "batch/batch_account.h"
#include "batch/progress_text.h"
#include "fuzz/fuzz_support.h"
#include "i18n/translation_table.h"
#include "settings/preset_text.h"
#include "shell/server_class.h"

namespace {

void checkClassId(const Utf8String& classId)
{
    Preset preset{{-7, -7}, {}};
    if (!parseServerClassId(classId, preset)) return;
    require(preset.size.width > 0 && preset.size.height > 0, "an id of the program's names a valid size");
    const bool madeForOne = serverClassId(preset, true).compare(classId, true) == 0 ||
                            serverClassId(preset, false).compare(classId, true) == 0;
    require(madeForOne, "an id read back is one made for its preset, letter case aside");
}

void checkPreset(const Preset& preset, bool forAllUsers)
{
    const Utf8String classId = serverClassId(preset, forAllUsers);
    requireWellFormed(classId);
    if (preset.size.width <= 0 || preset.size.height <= 0) {
        require(classId.charCount() == 0, "no id for an invalid size");
        return;
    }
    Preset read;
    require(parseServerClassId(classId, read) && read == preset, "every valid preset makes an id that reads back");
}

void checkServeArguments(const Utf8String& arguments)
{
    Preset preset{{-7, -7}, {}};
    if (!parseServeArguments(arguments, preset)) return;
    require(preset.size.width > 0 && preset.size.height > 0, "a read size is valid");
    // What the server reads is what a class for it would be started with.
    Preset reread;
    require(parseServeArguments(Utf8String::concat(Utf8String::fromAnsi("-serve "), presetText(preset)), reread) &&
                reread == preset,
            "a preset's serve arguments read back");
}

void checkProgress(const Utf8String& format, uint32_t current, uint32_t total)
{
    const Utf8String line = progressText(format, current, total);
    requireWellFormed(line);
    const std::string bytes = bytesOf(line);
    require(bytes.find(std::to_string(current)) != std::string::npos &&
                bytes.find(std::to_string(total)) != std::string::npos,
            "the line holds both numbers");
}

// However many pictures failed and however long their names, the account
// holds both counts and stays within a few lines of bounded length.
void checkAccount(FuzzedDataProvider& data, const std::string& translation)
{
    const auto copies = data.ConsumeIntegral<uint32_t>();
    const auto pictures = data.ConsumeIntegral<uint32_t>();
    std::vector<FailedPicture> failures(data.ConsumeIntegralInRange<size_t>(0, kNamedFailures + 4));
    for (FailedPicture& failure : failures) {
        // 0 stands for a picture the batch never began.
        const int reason = data.ConsumeIntegralInRange<int>(0, 6);
        if (reason > 0) failure.outcome = static_cast<ResizeOutcome>(reason);
        failure.path = utf8Of(data.ConsumeRandomLengthString(400));
    }
    translationTable.readText(translation.data(), translation.size());
    const Utf8String account = batchAccount(copies, pictures, failures);
    translationTable.clear();
    requireWellFormed(account);
    const std::string bytes = bytesOf(account);
    require(bytes.find(std::to_string(copies)) != std::string::npos &&
                bytes.find(std::to_string(pictures)) != std::string::npos,
            "the account holds both counts");
    const size_t longestLine = utf8Of(translation).charCount() + kLongestShownName + 64;
    require(account.charCount() <= (kNamedFailures + 2) * longestLine, "the account stays short");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    PresetOptions options;
    options.kind = static_cast<CopyKind>(data.ConsumeIntegralInRange<int>(0, 3));
    options.quality = data.ConsumeIntegralInRange<int32_t>(0, kHighestQuality);
    options.details = static_cast<KeptDetails>(data.ConsumeIntegralInRange<int>(0, 2));
    options.neverLarger = data.ConsumeBool();
    options.keepDate = data.ConsumeBool();
    const Preset made{{consumeEdgyInt(data), consumeEdgyInt(data)}, options};
    const uint32_t current = data.ConsumeIntegral<uint32_t>();
    const uint32_t total = data.ConsumeIntegral<uint32_t>();
    const bool forAllUsers = data.ConsumeBool();
    const std::string textBytes = data.ConsumeRandomLengthString(256);
    const Utf8String text = utf8Of(textBytes);

    checkPreset(made, forAllUsers);
    checkClassId(text);
    checkServeArguments(text);
    checkProgress(text, current, total);
    checkAccount(data, textBytes);
    return 0;
}
