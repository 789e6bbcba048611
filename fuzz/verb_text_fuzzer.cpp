// The registry texts of a verb: verbKeyPath with any format (a translation
// may hold anything), prefix and size text, and verbCommand with any program
// path and size, with the verb's key and icon. All fit 260 UTF-16 units or
// are empty; a key path always ends in "\command".
#include <algorithm>

#include "fuzz/fuzz_support.h"
#include "settings/size_text.h"
#include "shell/verb_text.h"

namespace {

const std::u16string kCommandKey = u"\\command";

bool hasZeroUnit(const Utf8String& text)
{
    return unitsOf(text).find(u'\0') != std::u16string::npos;
}

bool isModelUsable(const std::string& format)
{
    const size_t first = format.find("%s");
    if (first == std::string::npos) return false;
    const size_t second = format.find("%s", first + 2);
    if (second == std::string::npos || format.find("%s", second + 2) != std::string::npos) return false;
    return format.size() >= 8 && format.compare(format.size() - 8, 8, "\\command") == 0;
}

std::string modelKeyPath(const std::string& format, const std::string& prefix, const std::string& sizeText)
{
    const std::string usable = isModelUsable(format) ? format : "%sResize %s...\\command";
    const size_t first = usable.find("%s");
    const size_t second = usable.find("%s", first + 2);
    const std::string path = usable.substr(0, first) + prefix + usable.substr(first + 2, second - first - 2) +
                             sizeText + usable.substr(second + 2);
    return path.size() <= kMaxRegistryText ? path : std::string();
}

void checkKeyPath(const Utf8String& format, const Utf8String& prefix, const Utf8String& sizeText)
{
    const Utf8String path = verbKeyPath(format, prefix, sizeText);
    requireWellFormed(path);
    require(path.charCount() <= kMaxRegistryText, "a key path fits 260 units");
    if (path.charCount() > 0) {
        const std::u16string units = unitsOf(path);
        require(units.size() >= kCommandKey.size() &&
                    units.compare(units.size() - kCommandKey.size(), kCommandKey.size(), kCommandKey) == 0,
                "a key path ends in \\command");
        require(Utf8String::concat(verbKeyOf(path), Utf8String::fromAnsi("\\command")).compare(path, false) == 0,
                "the verb's key is the key path without \\command");
        // The format is the only outside text; Win32 reads a key path up to its first zero unit.
        if (!hasZeroUnit(prefix) && !hasZeroUnit(sizeText))
            require(!hasZeroUnit(path), "no translation cuts a key path short of \\command");
    }
    const std::string formatBytes = bytesOf(format);
    const std::string prefixBytes = bytesOf(prefix);
    const std::string sizeBytes = bytesOf(sizeText);
    if (isPlainAscii(formatBytes) && isPlainAscii(prefixBytes) && isPlainAscii(sizeBytes))
        require(bytesOf(path) == modelKeyPath(formatBytes, prefixBytes, sizeBytes), "the key path fills the format");
}

void checkCommand(const Utf8String& executablePath, const ImageSize& size)
{
    const Utf8String command = verbCommand(executablePath, Preset{size, {}});
    requireWellFormed(command);
    require(command.charCount() <= kMaxRegistryText, "a command fits 260 units");
    const std::string tail = "\" -size " + std::to_string(size.width) + "x" + std::to_string(size.height) + " %1";
    const std::string expected = "\"" + bytesOf(executablePath) + tail;
    const size_t expectedCount = 1 + executablePath.charCount() + tail.size();
    require(bytesOf(command) == (expectedCount <= kMaxRegistryText ? expected : std::string()),
            "the command is the quoted path, the size switch and %1");
    if (command.charCount() > 0 && executablePath.charCount() > 0)
        require(isOwnVerbCommand(command, executablePath), "the program knows its own verb");
    require(!isOwnVerbCommand(command, Utf8String()), "an empty path owns no verb");
    const Utf8String icon = verbIcon(executablePath);
    require(bytesOf(icon) == (executablePath.charCount() + 2 <= kMaxRegistryText ? bytesOf(executablePath) + ",0"
                                                                                   : std::string()),
            "the icon is the path and the first icon's index, or nothing");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const bool sizeFromNumbers = data.ConsumeBool();
    const ImageSize verbSize{consumeEdgyInt(data), consumeEdgyInt(data)};
    const std::string formatBytes = data.ConsumeRandomLengthString(400);
    const std::string prefixBytes = data.ConsumeRandomLengthString(64);
    const std::string sizeBytes = data.ConsumeRandomLengthString(64);
    const std::string pathBytes = data.ConsumeRandomLengthString(400);

    // A translation never holds a zero byte: reading the file stops there.
    const Utf8String format = utf8Of(std::string(formatBytes.c_str()));
    const Utf8String prefix = utf8Of(prefixBytes);
    const Utf8String sizeText = sizeFromNumbers ? formatSize(verbSize.width, verbSize.height) : utf8Of(sizeBytes);
    checkKeyPath(format, prefix, sizeText);
    checkKeyPath(verbKeyFormat(), prefix, sizeText);
    checkCommand(utf8Of(pathBytes), verbSize);
    return 0;
}
