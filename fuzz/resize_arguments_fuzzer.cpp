// What a verb's command line carries to the resize: the "-size WxH [option
// words] <path>" reading, the path's base name and extension, the output name, and the
// fitted size for any int32_t picture and box.
#include <algorithm>
#include <string>

#include "fuzz/fuzz_support.h"
#include "fuzz/reference_model.h"
#include "imaging/fit_size.h"
#include "imaging/resize_arguments.h"

namespace {

// Whether a word is an option word, any letter case, as settings.txt documents them.
bool modelIsOptionWord(std::string word)
{
    for (char& c : word) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    for (const char* known : {"jpeg", "jpg", "png", "webp", "no-location", "profile-only", "never-larger", "keep-date"})
        if (word == known) return true;
    const std::string prefix = "quality=";
    if (word.compare(0, prefix.size(), prefix) != 0 || word.size() == prefix.size()) return false;
    long value = 0;
    for (size_t i = prefix.size(); i < word.size(); ++i) {
        if (word[i] < '0' || word[i] > '9') return false;
        value = value * 10 + (word[i] - '0');
        if (value > 100) return false;
    }
    return value >= 1;
}

void checkCommandLine(const Utf8String& commandLine)
{
    Preset preset{{-7, -7}, {}};
    const Utf8String untouched = Utf8String::fromAnsi("untouched");
    Utf8String path = untouched;
    const bool parsed = parseResizeArguments(commandLine, preset, path);
    const ImageSize& requested = preset.size;
    requireWellFormed(path);
    if (parsed) require(requested.width > 0 && requested.height > 0, "a read size is at least 1x1");

    const std::string line = bytesOf(commandLine);
    if (!isPlainAscii(line)) return;
    const std::string sizeSwitch = "-size ";
    const size_t switchAt = line.find(sizeSwitch);
    const size_t sizeAt = switchAt == std::string::npos ? switchAt : switchAt + sizeSwitch.size();
    const size_t blankAt = sizeAt == std::string::npos ? sizeAt : line.find(' ', sizeAt);
    if (blankAt == std::string::npos) {
        require(!parsed && bytesOf(path) == bytesOf(untouched), "without switch and blank nothing is read");
        return;
    }
    std::string rest = line.substr(blankAt + 1);
    for (;;) {
        const size_t wordEnd = std::min(rest.find(' '), rest.size());
        if (!modelIsOptionWord(rest.substr(0, wordEnd))) break;
        rest = wordEnd < rest.size() ? rest.substr(wordEnd + 1) : std::string();
    }
    if (rest.size() >= 2 && rest.front() == '"' && rest.find('"', 1) == rest.size() - 1)
        rest = rest.substr(1, rest.size() - 2);
    ImageSize expected;
    const bool sizeValid = modelParseSize(line.substr(sizeAt, blankAt - sizeAt), expected);
    require((sizeValid && !rest.empty()) == parsed, "the size text and a path decide");
    if (parsed) require(requested == expected, "the size is the one after the switch");
    require(bytesOf(path) == rest, "the path is all after the option words, without one enclosing pair of quotes");
}

void checkNames(const Utf8String& path, const ImageSize& size, int32_t counter)
{
    const Utf8String extension = fileExtension(path);
    const Utf8String baseName = fileBaseName(path);
    requireWellFormed(extension);
    requireWellFormed(baseName);
    if (bytesOf(extension) == bytesOf(path)) {
        require(bytesOf(baseName) == bytesOf(path), "without a dot both are the whole path");
    } else {
        require(unitsOf(baseName) + u"." + unitsOf(extension) == unitsOf(path), "the last dot splits the path");
    }
    const std::string pathBytes = bytesOf(path);
    if (isPlainAscii(pathBytes)) {
        const size_t dot = pathBytes.rfind('.');
        const size_t separator = pathBytes.find_last_of("\\/");
        const bool hasDot = dot != std::string::npos && (separator == std::string::npos || dot > separator);
        require(bytesOf(baseName) == (hasDot ? pathBytes.substr(0, dot) : pathBytes) &&
                    bytesOf(extension) == (hasDot ? pathBytes.substr(dot + 1) : pathBytes),
                "the split is at the last dot of the file's name");
    }


    const Utf8String name = outputName(baseName, size, counter, extension);
    requireWellFormed(name);
    std::string expected = bytesOf(baseName) + "_" + std::to_string(size.width) + "x" + std::to_string(size.height);
    if (counter > 0) expected += "_" + std::to_string(counter);
    require(bytesOf(name) == expected + "." + bytesOf(extension), "outputName is base_WxH[_n].ext");
}

void checkFit(int32_t pictureWidth, int32_t pictureHeight, int32_t boxWidth, int32_t boxHeight)
{
    const ImageSize fitted = fitToBox(pictureWidth, pictureHeight, boxWidth, boxHeight);
    if (boxWidth <= 0 || boxHeight <= 0) return;
    require(fitted.width >= 1 && fitted.height >= 1, "a fitted side is at least 1");
    require(fitted.width == boxWidth || fitted.height == boxHeight, "one side fills the box");
    require(fitted.width <= boxWidth && fitted.height <= boxHeight, "the fitted size stays inside the box");
    if (pictureWidth <= 0 || pictureHeight <= 0) return;
    // The other side is the nearest to the exact proportion, halves up: for
    // side s against exact e = n/d, |s*d - n| <= d/2, and a tie only above.
    const bool widthFills = int64_t(pictureWidth) * boxHeight >= int64_t(boxWidth) * pictureHeight;
    const int64_t side = widthFills ? fitted.height : fitted.width;
    const int64_t n = widthFills ? int64_t(boxWidth) * pictureHeight : int64_t(boxHeight) * pictureWidth;
    const int64_t d = widthFills ? pictureWidth : pictureHeight;
    if (side == 1 && n < d) return;
    const int64_t twiceError = 2 * (side * d - n);
    require(twiceError >= -d + 1 && twiceError <= d, "the other side is the exact proportion rounded, halves up");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const bool fromUnits = data.ConsumeBool();
    const int32_t pictureWidth = consumeEdgyInt(data);
    const int32_t pictureHeight = consumeEdgyInt(data);
    const int32_t boxWidth = consumeEdgyInt(data);
    const int32_t boxHeight = consumeEdgyInt(data);
    const int32_t counter = consumeEdgyInt(data);
    const std::string lineBytes = data.ConsumeRandomLengthString(1024);

    // Windows hands the command line over as UTF-16; the bytes form reaches odder texts.
    const Utf8String commandLine = fromUnits ? utf16Of(unitsFromBytes(lineBytes)) : utf8Of(lineBytes);
    checkCommandLine(commandLine);
    Preset preset;
    Utf8String path = commandLine;
    parseResizeArguments(commandLine, preset, path);
    checkNames(path, ImageSize{boxWidth, boxHeight}, counter);
    checkFit(pictureWidth, pictureHeight, boxWidth, boxHeight);
    return 0;
}
