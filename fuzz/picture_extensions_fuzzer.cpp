// A codec's extension list of any text, as WIC hands it over (UTF-16) or as
// bytes, added to an empty set or to the program's own: the set is what a
// plain model of splitting at "," and ";", trimming, checking and
// lower-casing gives, each extension is a plain one and there once, adding
// the list again changes nothing, and a path ending in any of them, in
// capitals, is a picture's.
#include <algorithm>

#include "fuzz/fuzz_support.h"
#include "shell/picture_extensions.h"

namespace {

bool isModelNameCharacter(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte < 0x7F && std::string("\\/:*?\"<>|.").find(c) == std::string::npos;
}

bool isModelExtension(const std::string& name)
{
    return name.size() >= 2 && name.size() <= kMaxPictureExtension && name[0] == '.' &&
           std::all_of(name.begin() + 1, name.end(), isModelNameCharacter);
}

std::string lowerCase(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
    }
    return text;
}

std::vector<std::string> modelExtensions(std::vector<std::string> held, const std::string& list)
{
    const std::string blanks = " \t\r\n";
    size_t start = 0;
    for (;;) {
        const size_t end = list.find_first_of(",;", start);
        std::string name = list.substr(start, end == std::string::npos ? std::string::npos : end - start);
        const size_t first = name.find_first_not_of(blanks);
        name = first == std::string::npos ? std::string()
                                          : name.substr(first, name.find_last_not_of(blanks) - first + 1);
        if (isModelExtension(name)) {
            name = lowerCase(name);
            if (std::find(held.begin(), held.end(), name) == held.end()) held.push_back(name);
        }
        if (end == std::string::npos) return held;
        start = end + 1;
    }
}

std::vector<std::string> bytesOfEach(const std::vector<Utf8String>& extensions)
{
    std::vector<std::string> all;
    for (const Utf8String& extension : extensions) all.push_back(bytesOf(extension));
    return all;
}

std::string upperCase(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const bool startFromOwn = data.ConsumeBool();
    const bool asUnits = data.ConsumeBool();
    const std::string rest = data.ConsumeRemainingBytesAsString();
    const Utf8String list = asUnits ? utf16Of(unitsFromBytes(rest)) : utf8Of(rest);
    requireWellFormed(list);

    std::vector<Utf8String> extensions = startFromOwn ? ownPictureExtensions() : std::vector<Utf8String>();
    const std::vector<std::string> before = bytesOfEach(extensions);
    addPictureExtensions(list, extensions);
    const std::vector<std::string> after = bytesOfEach(extensions);
    require(after == modelExtensions(before, bytesOf(list)), "the set is the model's");

    for (size_t i = 0; i < extensions.size(); ++i) {
        requireWellFormed(extensions[i]);
        require(isModelExtension(after[i]) && after[i] == lowerCase(after[i]), "a plain, lower-case extension");
        for (size_t j = 0; j < i; ++j)
            require(extensions[i].compare(extensions[j], true) != 0, "each extension is there once");
        const std::string path = "C:\\pictures\\photo" + upperCase(after[i]);
        require(hasPictureExtension(extensions, utf8Of(path)), "a path ending in one of them is a picture's");
    }
    addPictureExtensions(list, extensions);
    require(bytesOfEach(extensions) == after, "adding the same list again adds nothing");
    return 0;
}
