#include "imaging/resize_arguments.h"

#include <algorithm>

#include "settings/preset_text.h"
#include "settings/size_text.h"
#include "text/find_last.h"

// A Windows file name cannot hold a double quote, so one pair around the
// whole path can only be the quoting a console or a script adds.
static Utf8String withoutEnclosingQuotes(const Utf8String& path)
{
    const Utf8String quote = Utf8String::fromAnsi("\"");
    const uint32_t length = path.charCount();
    // The second quote must be the last character: exactly one pair, at the ends.
    const bool enclosed = length >= 2 && path.find(quote, 0, false) == 0 &&
                          static_cast<uint32_t>(path.find(quote, 1, false)) == length - 1;
    return enclosed ? path.mid(1, length - 2) : path;
}

bool parseResizeArguments(const Utf8String& commandLine, Preset& preset, Utf8String& picturePath)
{
    const Utf8String sizeSwitch = Utf8String::fromAnsi("-size ");
    const int32_t switchAt = commandLine.find(sizeSwitch, 0, false);
    // Without the switch nothing is read: a misspelt command word is never a size.
    if (switchAt < 0) return false;
    const auto sizeAt = static_cast<uint32_t>(switchAt) + sizeSwitch.charCount();
    const int32_t blankAt = commandLine.find(Utf8String::fromAnsi(" "), sizeAt, false);
    if (blankAt < 0) return false;

    Preset read;
    const uint32_t pathAt = readOptionWords(commandLine, static_cast<uint32_t>(blankAt) + 1, read.options);
    picturePath = withoutEnclosingQuotes(commandLine.mid(pathAt, Utf8String::kRestOfText));
    if (!parseSize(commandLine.mid(sizeAt, static_cast<uint32_t>(blankAt) - sizeAt), read.size)) return false;
    preset = read;
    return picturePath.charCount() > 0;
}

// A dot counts only in the file's own name: one in a folder's name would put
// the copy beside that folder, under a name cut from the folder's.
static int32_t lastDotPosition(const Utf8String& path)
{
    const int32_t dot = findLast(path, Utf8String::fromAnsi("."));
    const int32_t separator =
        std::max(findLast(path, Utf8String::fromAnsi("\\")), findLast(path, Utf8String::fromAnsi("/")));
    return dot > separator ? dot : -1;
}

Utf8String fileExtension(const Utf8String& path)
{
    const int32_t dot = lastDotPosition(path);
    return dot < 0 ? path : path.mid(static_cast<uint32_t>(dot) + 1, Utf8String::kRestOfText);
}

Utf8String fileBaseName(const Utf8String& path)
{
    const int32_t dot = lastDotPosition(path);
    return dot < 0 ? path : path.mid(0, static_cast<uint32_t>(dot));
}

Utf8String outputName(const Utf8String& baseName, const ImageSize& size, int32_t counter,
                      const Utf8String& extension)
{
    Utf8String name = baseName;
    name.append(Utf8String::fromAnsi("_"));
    name.append(formatSize(size.width, size.height));
    if (counter > 0) {
        name.append(Utf8String::fromAnsi("_"));
        name.append(Utf8String::fromInt(counter));
    }
    name.append(Utf8String::fromAnsi("."));
    name.append(extension);
    return name;
}
