// A translation file of any bytes: TranslationTable::readText, then translate
// and find with keys taken from the file. Plain ASCII files are held against a
// std::map model, also as UTF-16 and as a file that may go on; every file's
// keys must keep the table's order a strict weak order, which std::map relies on.
#include <algorithm>
#include <map>

#include "fuzz/fuzz_support.h"
#include "fuzz/reference_model.h"
#include "i18n/translation_table.h"

namespace {

constexpr size_t kMaxKeys = 16;

// Lines end at CR, whose next byte is taken as its LF; a line's key is the text
// before the first "=" that no backslash escapes, and "\=" stands for "=".
std::map<std::string, std::string> modelEntries(const std::string& content)
{
    std::map<std::string, std::string> entries;
    for (size_t offset = 0; offset < content.size();) {
        const size_t end = std::min(content.find('\r', offset), content.size());
        const std::string line = content.substr(offset, end - offset);
        offset = end + 2;
        size_t separator = line.find('=');
        while (separator != std::string::npos && separator > 0 && line[separator - 1] == '\\')
            separator = line.find('=', separator + 1);
        if (separator == std::string::npos) continue;
        std::string key = line.substr(0, separator);
        std::string text = line.substr(separator + 1);
        modelReplaceAll(key, "\\=", "=", SIZE_MAX, SIZE_MAX);
        modelReplaceAll(text, "\\=", "=", SIZE_MAX, SIZE_MAX);
        entries[key] = text;
    }
    return entries;
}

// Each line's text before its first "=", and the whole line.
std::vector<Utf8String> keysOf(const std::string& content)
{
    std::vector<Utf8String> keys;
    for (size_t offset = 0; offset < content.size() && keys.size() < kMaxKeys;) {
        const size_t end = std::min(content.find('\r', offset), content.size());
        const std::string line = content.substr(offset, end - offset);
        offset = end + 2;
        keys.push_back(utf8Of(line.substr(0, line.find('='))));
        keys.push_back(utf8Of(line));
    }
    return keys;
}

void requireEntries(const TranslationTable& table, const std::map<std::string, std::string>& expected,
                    const char* what)
{
    require(table.size() == expected.size(), "one entry per distinct key");
    for (const auto& [key, value] : expected) {
        const Utf8String* stored = table.find(utf8Of(key));
        require(stored && bytesOf(*stored) == value, what);
    }
}

void checkOrder(const std::vector<Utf8String>& keys)
{
    const Utf8StringOrder order;
    const size_t n = keys.size();
    std::vector<bool> less(n * n);
    for (size_t a = 0; a < n; ++a) {
        for (size_t b = 0; b < n; ++b) less[a * n + b] = order(keys[a], keys[b]);
    }
    const auto same = [&](size_t a, size_t b) { return !less[a * n + b] && !less[b * n + a]; };
    for (size_t a = 0; a < n; ++a) {
        require(!less[a * n + a], "no key orders before itself");
        for (size_t b = 0; b < n; ++b) {
            require(!(less[a * n + b] && less[b * n + a]), "two keys order one way only");
            for (size_t c = 0; c < n; ++c) {
                require(!(less[a * n + b] && less[b * n + c]) || less[a * n + c], "the order is transitive");
                require(!(same(a, b) && same(b, c)) || same(a, c), "equal keys stay equal");
            }
        }
    }
}

void checkLookups(const std::vector<Utf8String>& keys)
{
    for (const Utf8String& key : keys) {
        const Utf8String* stored = translationTable.find(key);
        const Utf8String translated = translate(key);
        requireWellFormed(translated);
        require(bytesOf(translated) == bytesOf(stored ? *stored : key), "translate gives the entry or the key");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const auto* text = reinterpret_cast<const char*>(bytes);
    translationTable.readText(text, size);
    const std::string content(text, std::find(text, text + size, '\0'));
    const std::vector<Utf8String> keys = keysOf(content);
    checkOrder(keys);
    checkLookups(keys);

    // A leading byte-order mark is passed over; the rest is modelled when plain.
    const std::string mark = "\xEF\xBB\xBF";
    const std::string lines = content.rfind(mark, 0) == 0 ? content.substr(mark.size()) : content;
    if (isPlainAscii(lines)) {
        requireEntries(translationTable, modelEntries(lines), "the last line of a key gives its text");
        // The same lines saved as UTF-16 with its mark, in either byte order.
        for (const bool littleEndian : {true, false}) {
            std::string units = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
            for (const char byte : lines) units += littleEndian ? std::string{byte, '\0'} : std::string{'\0', byte};
            TranslationTable table;
            table.readText(units.data(), units.size());
            requireEntries(table, modelEntries(lines), "UTF-16 gives the entries of UTF-8");
        }
        // A file that may go on is read up to its last CR; a zero ends it before.
        const size_t lastCr = lines.rfind('\r');
        const bool zeroInside = content.size() < size;
        TranslationTable table;
        table.readText(text, size, true);
        requireEntries(table,
                       modelEntries(zeroInside ? lines : lines.substr(0, lastCr == std::string::npos ? 0 : lastCr)),
                       "a file that may go on keeps its whole lines");
    }

    const size_t entries = translationTable.size();
    translationTable.readText(text, size);
    require(translationTable.size() == entries, "reading again replaces the entries");
    translationTable.clear();
    for (const Utf8String& key : keys) require(bytesOf(translate(key)) == bytesOf(key), "an empty table gives keys back");
    return 0;
}
