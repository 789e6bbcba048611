#include "tests/e2e/open_command_override.h"

#include <windows.h>

#include <algorithm>

namespace {

struct Association {
    const wchar_t* extension;
    const wchar_t* fileClass;
};

// Every extension a test writes gets a class, so that the opening of every
// copy is seen; a fresh Wine prefix has none of these registered.
constexpr Association kAssociations[] = {
    {L".jpg", L"jpegfile"}, {L".jpeg", L"jpegfile"}, {L".jpe", L"jpegfile"}, {L".jfif", L"jpegfile"},
    {L".png", L"pngfile"},  {L".gif", L"giffile"},
    {L".bmp", L"bmpfile"},  {L".tif", L"tiffile"},   {L".xyz", L"xyzfile"}, {L".webp", L"webpfile"},
};

}  // namespace

OpenCommandOverride::OpenCommandOverride(const std::wstring& program)
{
    const std::wstring command = L"\"" + program + L"\" \"%1\"";
    std::vector<std::wstring> classesDone;
    for (const Association& association : kAssociations) {
        values_.emplace_back(HKEY_CLASSES_ROOT, association.extension, association.fileClass);
        applied_ = applied_ && values_.back().applied();
        if (std::find(classesDone.begin(), classesDone.end(), association.fileClass) != classesDone.end()) continue;
        classesDone.emplace_back(association.fileClass);
        values_.emplace_back(HKEY_CLASSES_ROOT, std::wstring(association.fileClass) + L"\\shell\\open\\command",
                             command);
        applied_ = applied_ && values_.back().applied();
    }
    // Wine's SHOpenFolderAndSelectItems runs the folder's "explore" verb,
    // taking its whole command, quoted, for the program: only a bare path
    // runs, and without the folder as argument. So each folder window is
    // seen as one start of the program with no arguments.
    values_.emplace_back(HKEY_CLASSES_ROOT, L"Folder\\shell\\explore\\command", program);
    applied_ = applied_ && program.find(L' ') == std::wstring::npos && values_.back().applied();
}

OpenCommandOverride::~OpenCommandOverride()
{
    // Last set, first restored, so that shared keys end as they began.
    while (!values_.empty()) values_.pop_back();
}
