#include "tests/e2e/install_fixture.h"

#include <windows.h>

#include "tests/e2e/pellavo_runner.h"

void InstallCommand::SetUp()
{
    before_ = pictureVerbs();
    ASSERT_TRUE(copies_.ready());
    copy_ = copies_.add(L"Program Files x\\Pellavo App", kInstalledSettings);
    ASSERT_FALSE(copy_.empty()) << "could not copy pellavo.exe and its translations";
}

testing::AssertionResult InstallCommand::runs(const std::wstring& arguments, DWORD exitCode) const
{
    return runsProgram(copy_, quotedPath(copy_) + L" " + arguments, exitCode);
}

std::wstring InstallCommand::shipped(const wchar_t* name) const
{
    return folderOf(copy_) + L"\\local\\" + name;
}

bool InstallCommand::useTranslation(const wchar_t* name) const
{
    const std::wstring current = folderOf(copy_) + L"\\current_translate.txt";
    return CopyFileW(shipped(name).c_str(), current.c_str(), FALSE) != 0;
}

VerbCommands InstallCommand::newVerbs() const
{
    return addedVerbs(before_, pictureVerbs());
}

VerbCommands InstallCommand::installed(const std::wstring& nameFormat) const
{
    return expectedVerbs(nameFormat, copy_, kInstalledSizes);
}
