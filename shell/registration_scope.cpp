#include "shell/registration_scope.h"

#include <shlobj.h>

#include "base/module_path.h"
#include "base/win32_handles.h"
#include "shell/folder_rule.h"

// The long form where the path exists, so that a short 8.3 name and its
// long one compare equal; the path as given where it does not.
static Utf8String longPathOf(const wchar_t* path)
{
    wchar_t longPath[MAX_PATH];
    const DWORD length = GetLongPathNameW(path, longPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return Utf8String::fromWide(path, 0);
    return Utf8String::fromWide(longPath, 0);
}

static Utf8String knownFolder(const KNOWNFOLDERID& id)
{
    wchar_t* received = nullptr;
    const HRESULT result = SHGetKnownFolderPath(id, 0, nullptr, &received);
    // The shell hands the text over even when it fails.
    const CoTaskMemory<wchar_t> path(received);
    if (FAILED(result) || !path) return Utf8String();
    return longPathOf(path.get());
}

// The 64-bit Program Files as every process of 64-bit Windows is told it:
// a 32-bit process's known folders both name "Program Files (x86)", and it
// cannot ask for the 64-bit one. Empty on 32-bit Windows.
static Utf8String nativeProgramFiles()
{
    wchar_t folder[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"ProgramW6432", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return Utf8String();
    return longPathOf(folder);
}

RegistrationScope registrationScope()
{
    const Utf8String executable = runningExecutablePath();
    if (executable.charCount() == 0) return RegistrationScope::CurrentUser;
    const Utf8String path = longPathOf(executable.toWide().units());
    const std::vector<Utf8String> programFolders = {knownFolder(FOLDERID_ProgramFiles),
                                                    knownFolder(FOLDERID_ProgramFilesX86), nativeProgramFiles()};
    return isUnderAnyFolder(path, programFolders) ? RegistrationScope::AllUsers : RegistrationScope::CurrentUser;
}

RegistrationScope otherScope(RegistrationScope scope)
{
    return scope == RegistrationScope::AllUsers ? RegistrationScope::CurrentUser : RegistrationScope::AllUsers;
}

HKEY scopeRoot(RegistrationScope scope)
{
    return scope == RegistrationScope::AllUsers ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}
