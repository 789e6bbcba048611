#include "shell/picture_extensions.h"

#include <cstring>
#include <string>

#include "text/find_last.h"

static bool isListSeparator(char c)
{
    return c == ',' || c == ';';
}

static const char kBlanks[] = " \t\r\n";

// Codecs name their types in ASCII, so anything else is no type of theirs.
// The extension becomes a registry key name, where a backslash would start
// a subkey, and must be one a file can end in.
static bool isNameCharacter(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte < 0x7F && std::strchr("\\/:*?\"<>|.", c) == nullptr;
}

static bool isPlainExtension(const std::string& name)
{
    if (name.size() < 2 || name.size() > kMaxPictureExtension || name[0] != '.') return false;
    for (size_t i = 1; i < name.size(); ++i) {
        if (!isNameCharacter(name[i])) return false;
    }
    return true;
}

static bool holdsExtension(const std::vector<Utf8String>& extensions, const Utf8String& extension)
{
    for (const Utf8String& held : extensions) {
        if (held.compare(extension, true) == 0) return true;
    }
    return false;
}

static void addExtension(std::string name, std::vector<Utf8String>& extensions)
{
    const size_t first = name.find_first_not_of(kBlanks);
    if (first == std::string::npos) return;
    name = name.substr(first, name.find_last_not_of(kBlanks) - first + 1);
    if (!isPlainExtension(name)) return;
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    const Utf8String extension = Utf8String::fromUtf8(name.data(), static_cast<int32_t>(name.size()));
    if (!holdsExtension(extensions, extension)) extensions.push_back(extension);
}

void addPictureExtensions(const Utf8String& codecList, std::vector<Utf8String>& extensions)
{
    const char* text = codecList.text();
    const auto length = static_cast<size_t>(codecList.byteLength());
    for (size_t start = 0; start < length;) {
        size_t end = start;
        while (end < length && !isListSeparator(text[end])) ++end;
        addExtension(std::string(text + start, end - start), extensions);
        start = end + 1;
    }
}

std::vector<Utf8String> ownPictureExtensions()
{
    std::vector<Utf8String> extensions;
    // JPEG, WebP and PNG are decoded by the program itself, also where Windows has no codec for them.
    addPictureExtensions(Utf8String::fromAnsi(".jpg;.jpeg;.jpe;.jfif;.webp;.png"), extensions);
    return extensions;
}

std::vector<Utf8String> fallbackPictureExtensions()
{
    std::vector<Utf8String> extensions = ownPictureExtensions();
    // Windows has read these since before it had WIC.
    addPictureExtensions(Utf8String::fromAnsi(".gif;.bmp;.tif;.tiff"), extensions);
    return extensions;
}

bool hasPictureExtension(const std::vector<Utf8String>& extensions, const Utf8String& path)
{
    const int32_t dot = findLast(path, Utf8String::fromAnsi("."));
    return dot >= 0 && holdsExtension(extensions, path.mid(static_cast<uint32_t>(dot), Utf8String::kRestOfText));
}
