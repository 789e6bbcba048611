#include "tests/e2e/shell_verbs.h"

#include <windows.h>

#include <optional>

#include "tests/support/file_system.h"
#include "tests/support/registry_reading.h"
#include "tests/support/utf8_conversion.h"

std::wstring upperCase(std::wstring text)
{
    if (!text.empty()) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The classes a test reads: HKEY_CLASSES_ROOT itself, or the machine's or
// the user's "Software\Classes", which Wine's HKEY_CLASSES_ROOT does not merge.
static std::wstring classesPathOf(HKEY root)
{
    return root == HKEY_CLASSES_ROOT ? L"" : L"Software\\Classes\\";
}

static void addVerbsOf(HKEY root, const std::wstring& type, VerbCommands& verbs)
{
    const std::wstring classes = classesPathOf(root);
    const std::wstring shell = type + L"\\shell";
    for (const std::wstring& name : subkeyNames(root, classes + shell)) {
        const std::wstring verb = shell + L"\\" + name;
        verbs[verb] = defaultValueOf(root, classes + verb + L"\\command").value_or(L"");
    }
}

VerbCommands pictureVerbs(HKEY root)
{
    VerbCommands verbs;
    // Wherever a verb stands, so that one written for any other type shows too.
    for (const std::wstring& name : subkeyNames(root, classesPathOf(root) + L"SystemFileAssociations")) {
        if (name.rfind(L".", 0) == 0) addVerbsOf(root, L"SystemFileAssociations\\" + name, verbs);
    }
    for (const wchar_t* type : kOldPictureTypes) addVerbsOf(root, type, verbs);
    return verbs;
}

VerbCommands verbsNaming(const std::wstring& text, HKEY root)
{
    const std::wstring wanted = upperCase(text);
    VerbCommands verbs;
    for (const auto& [verb, command] : pictureVerbs(root)) {
        if (upperCase(command).find(wanted) != std::wstring::npos) verbs[verb] = command;
    }
    return verbs;
}

// Deletes the class a verb's DropTarget names, in both registry views, when
// its server's command holds the text.
static void deleteDropTargetClass(HKEY root, const std::wstring& verb, const std::wstring& text)
{
    const std::optional<std::wstring> classId =
        textValueOf(root, classesPathOf(root) + verb + L"\\DropTarget", L"Clsid");
    if (!classId || classId->empty()) return;
    const HKEY classRoot = root == HKEY_CURRENT_USER ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const std::wstring classKey = L"Software\\Classes\\CLSID\\" + *classId;
    for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        const DWORD flags = view == KEY_WOW64_64KEY ? RRF_SUBKEY_WOW6464KEY : RRF_SUBKEY_WOW6432KEY;
        const std::wstring server =
            textValueOf(classRoot, classKey + L"\\LocalServer32", nullptr, flags).value_or(L"");
        if (upperCase(server).find(upperCase(text)) == std::wstring::npos) continue;
        RegDeleteKeyExW(classRoot, (classKey + L"\\LocalServer32").c_str(), view, 0);
        RegDeleteKeyExW(classRoot, classKey.c_str(), view, 0);
    }
}

void deleteVerbsNaming(const std::wstring& text)
{
    if (text.empty()) return;  // every command holds the empty text
    for (const HKEY root : {HKEY_CLASSES_ROOT, HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        for (const auto& verb : verbsNaming(text, root)) {
            deleteDropTargetClass(root, verb.first, text);
            RegDeleteTreeW(root, (classesPathOf(root) + verb.first).c_str());
        }
    }
}

VerbCommands addedVerbs(const VerbCommands& before, const VerbCommands& after)
{
    VerbCommands added;
    for (const auto& [verb, command] : after) {
        const auto old = before.find(verb);
        if (old == before.end() || old->second != command) added[verb] = command;
    }
    return added;
}

VerbCommands expectedVerbs(const std::wstring& nameFormat, const std::wstring& executable,
                           const std::vector<std::wstring>& sizes, const std::vector<std::wstring>& types)
{
    VerbCommands verbs;
    const size_t at = nameFormat.find(L"%s");
    if (at == std::wstring::npos) return verbs;
    for (const std::wstring& type : types) {
        for (const std::wstring& size : sizes) {
            std::wstring name = nameFormat;
            name.replace(at, 2, size);
            verbs[type + L"\\shell\\" + name] = L"\"" + executable + L"\" -size " + size + L" %1";
        }
    }
    return verbs;
}

std::wstring verbNameFormatIn(const std::wstring& translationFile)
{
    const std::optional<std::string> bytes = readFileText(translationFile);
    if (!bytes) return {};
    std::wstring text = fromUtf8(*bytes);
    if (!text.empty() && text.front() == L'\xFEFF') text.erase(0, 1);
    const std::wstring key = L"%sResize %s...\\command=";
    const std::wstring head = L"%s";
    const std::wstring tail = L"\\command";
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        if (line.compare(0, key.size(), key) != 0) continue;
        const std::wstring value = line.substr(key.size());
        if (value.size() <= head.size() + tail.size() || value.compare(0, head.size(), head) != 0 ||
            value.compare(value.size() - tail.size(), tail.size(), tail) != 0)
            return {};
        return value.substr(head.size(), value.size() - head.size() - tail.size());
    }
    return {};
}
