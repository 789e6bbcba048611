#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/run_application.h"
#include "base/win32_handles.h"
#include "tests/e2e/dialog_session.h"
#include "tests/e2e/fault_checks.h"
#include "tests/e2e/install_fixture.h"
#include "tests/e2e/pellavo_runner.h"
#include "tests/support/file_system.h"
#include "tests/support/registry_default_value.h"
#include "tests/support/registry_reading.h"
#include "ui/resource.h"

namespace {

// A default value as it is stored: its type and its bytes, whatever they hold.
struct StoredValue {
    DWORD type = REG_NONE;
    Bytes data;

    bool operator==(const StoredValue& other) const { return type == other.type && data == other.data; }
};

std::optional<StoredValue> storedDefaultValue(const std::wstring& subKey)
{
    RegKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_QUERY_VALUE, key.receive()) != ERROR_SUCCESS)
        return std::nullopt;
    StoredValue value;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), nullptr, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    if (RegQueryValueExW(key.get(), nullptr, nullptr, &value.type, value.data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.data.resize(size);
    return value;
}

bool storeDefaultValue(const std::wstring& subKey, const StoredValue& value)
{
    RegKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, subKey.c_str(), 0, KEY_SET_VALUE, key.receive()) != ERROR_SUCCESS)
        return false;
    // Wine, as Windows, counts a text's terminating NUL in when the count
    // leaves it out but the memory after the text holds one: what follows
    // here is never a NUL, so the value is stored exactly as given.
    Bytes padded = value.data;
    padded.insert(padded.end(), {'x', 'x'});
    return RegSetValueExW(key.get(), nullptr, 0, value.type, padded.data(),
                          static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS;
}

// The UTF-16 units of a text as bytes, with a terminating NUL or without.
Bytes unitsOf(const std::wstring& text, bool terminated)
{
    const auto* first = reinterpret_cast<const unsigned char*>(text.c_str());
    return Bytes(first, first + (text.size() + (terminated ? 1 : 0)) * sizeof(wchar_t));
}

// Another program's command of the given length in UTF-16 units.
std::wstring otherCommand(size_t length)
{
    std::wstring command = L"\"C:\\Program Files\\Other Program\\";
    const std::wstring tail = L"\\other.exe\" \"%1\"";
    command.append(length - command.size() - tail.size(), L'o');
    return command + tail;
}

struct ForeignVerb {
    const wchar_t* key;
    StoredValue value;
};

// The machine's key of a drop target class, in the 64-bit or the 32-bit registry view.
std::wstring classKeyOf(const std::wstring& classId)
{
    return L"Software\\Classes\\CLSID\\" + classId;
}

bool classKeyExists(const std::wstring& classId, REGSAM view)
{
    RegKey key;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, classKeyOf(classId).c_str(), 0, KEY_READ | view, key.receive()) ==
           ERROR_SUCCESS;
}

// The classes that the verbs' DropTargets name.
std::set<std::wstring> classIdsOf(const VerbCommands& verbs)
{
    std::set<std::wstring> ids;
    for (const auto& verb : verbs) {
        const std::optional<std::wstring> id = textValueOf(HKEY_CLASSES_ROOT, verb.first + L"\\DropTarget", L"Clsid");
        if (id) ids.insert(*id);
    }
    return ids;
}

// Gives a key of one registry view a security descriptor (in SDDL) for the
// owner's lifetime, then lets everyone do everything with it again.
class ScopedKeySecurity {
public:
    ScopedKeySecurity(const std::wstring& subKey, REGSAM view, const wchar_t* sddl)
    {
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, READ_CONTROL | WRITE_DAC | view, key_.receive()) !=
            ERROR_SUCCESS)
            return;
        applied_ = setSecurity(sddl);
    }
    ScopedKeySecurity(const ScopedKeySecurity&) = delete;
    ScopedKeySecurity& operator=(const ScopedKeySecurity&) = delete;
    ~ScopedKeySecurity()
    {
        if (applied_) setSecurity(L"D:(A;;KA;;;WD)");
    }

    bool applied() const { return applied_; }

private:
    bool setSecurity(const wchar_t* sddl) const
    {
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr))
            return false;
        const bool set = RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
        LocalFree(descriptor);
        return set;
    }

    RegKey key_;
    bool applied_ = false;
};

std::set<std::wstring> keysOf(const VerbCommands& verbs)
{
    std::set<std::wstring> keys;
    for (const auto& verb : verbs) keys.insert(verb.first);
    return keys;
}

}  // namespace

TEST_F(InstallCommand, LeavesCommandsItCannotReadAsTheyWere)
{
    // Longer than the 260-unit buffer Uninstall reads a command into; exactly
    // as long with no NUL to end it; and no text at all.
    const ForeignVerb foreign[] = {
        {L"jpegfile\\shell\\Other long\\command", {REG_SZ, unitsOf(otherCommand(300), true)}},
        {L"jpegfile\\shell\\Other full\\command", {REG_SZ, unitsOf(otherCommand(260), false)}},
        {L"jpegfile\\shell\\Other binary\\command", {REG_BINARY, {0x22, 0x00, 'C', 0x00, ':', 0x00, '\\'}}},
    };
    std::vector<ScopedDefaultValue> keys;
    keys.reserve(std::size(foreign));
    std::set<std::wstring> theirs;
    for (const ForeignVerb& verb : foreign) {
        // Makes the key and removes it again; the value is then put in raw.
        keys.emplace_back(HKEY_CLASSES_ROOT, verb.key, L"");
        ASSERT_TRUE(keys.back().applied());
        ASSERT_TRUE(storeDefaultValue(verb.key, verb.value));
        ASSERT_TRUE(storedDefaultValue(verb.key) == verb.value) << "the registry does not keep the value as written";
        const std::wstring name(verb.key);
        theirs.insert(name.substr(0, name.rfind(L'\\')));
    }
    std::set<std::wstring> withOurs = theirs;
    for (const auto& verb : installed(kEnglishVerbName)) withOurs.insert(verb.first);

    for (const wchar_t* command : {L"Install", L"Uninstall"}) {
        SCOPED_TRACE(testing::Message() << "after " << command);
        EXPECT_TRUE(runs(command));

        EXPECT_TRUE(noCrashHandlerRunning());
        for (const ForeignVerb& verb : foreign)
            EXPECT_TRUE(storedDefaultValue(verb.key) == verb.value) << "changed: " << testing::PrintToString(verb.key);
        const bool installing = std::wstring(command) == L"Install";
        EXPECT_EQ(verbsNaming(copy_), installing ? installed(kEnglishVerbName) : VerbCommands{});
        EXPECT_EQ(keysOf(newVerbs()), installing ? withOurs : theirs);
    }
}

TEST_F(InstallCommand, UninstallRemovesTheClassesFromWhicheverRegistryViewHoldsThem)
{
    const REGSAM views[] = {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
    const struct {
        const char* name;
        bool held[2];        // in the 64-bit view, in the 32-bit view
        bool refusesDelete;  // the 64-bit class of the first size lets nobody delete it
    } cases[] = {
        {"32-bit view only", {false, true}, false},
        {"64-bit view only", {true, false}, false},
        {"both views", {true, true}, false},
        {"both views, one class refusing deletion", {true, true}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(runs(L"Install"));
        const std::set<std::wstring> classIds = classIdsOf(installed(kEnglishVerbName));
        ASSERT_EQ(classIds.size(), kInstalledSizes.size());
        for (const std::wstring& id : classIds) {
            for (size_t v = 0; v < std::size(views); ++v) {
                if (c.held[v]) continue;
                const std::wstring server = classKeyOf(id) + L"\\LocalServer32";
                ASSERT_EQ(RegDeleteKeyExW(HKEY_LOCAL_MACHINE, server.c_str(), views[v], 0), ERROR_SUCCESS);
                ASSERT_EQ(RegDeleteKeyExW(HKEY_LOCAL_MACHINE, classKeyOf(id).c_str(), views[v], 0), ERROR_SUCCESS);
            }
            // The views are apart: each holds what the case says.
            for (size_t v = 0; v < std::size(views); ++v) ASSERT_EQ(classKeyExists(id, views[v]), c.held[v]);
        }
        const std::wstring& locked = *classIds.begin();
        std::optional<ScopedKeySecurity> denial;
        if (c.refusesDelete) {
            denial.emplace(classKeyOf(locked), KEY_WOW64_64KEY, L"D:(D;;SD;;;WD)(A;;KA;;;WD)");
            ASSERT_TRUE(denial->applied());
        }

        EXPECT_TRUE(runs(L"Uninstall", c.refusesDelete ? kWriteFailed : 0));

        // A class that stays keeps the verbs that lead to it, so that a later run can remove both.
        for (const auto& [verb, command] : verbsNaming(copy_))
            EXPECT_EQ(classIdsOf({{verb, command}}), std::set<std::wstring>{locked}) << testing::PrintToString(verb);
        EXPECT_EQ(verbsNaming(copy_).empty(), !c.refusesDelete);
        for (const std::wstring& id : classIds) {
            for (const REGSAM view : views) {
                EXPECT_EQ(classKeyExists(id, view), c.refusesDelete && id == locked && view == KEY_WOW64_64KEY)
                    << testing::PrintToString(id);
            }
        }
        if (!c.refusesDelete) continue;
        denial.reset();
        EXPECT_TRUE(runs(L"Uninstall"));
        EXPECT_EQ(verbsNaming(copy_), VerbCommands{});
        EXPECT_FALSE(classKeyExists(locked, KEY_WOW64_64KEY));
    }
}

TEST_F(InstallCommand, WithoutWicGivesTheVerbsToTheKindsEveryWindowsReads)
{
    // WIC's factory named by a server that is not there, as where Windows has no WIC.
    const ScopedDefaultValue noWic(HKEY_CLASSES_ROOT, L"CLSID\\{CACAF262-9370-4615-A13B-9F5539DA4C0A}\\InprocServer32",
                                   L"C:\\windows\\system32\\pellavo-missing-codecs.dll");
    ASSERT_TRUE(noWic.applied());
    std::vector<std::wstring> types;
    for (const wchar_t* extension :
         {L".jpg", L".jpeg", L".jpe", L".jfif", L".webp", L".png", L".gif", L".bmp", L".tif", L".tiff"})
        types.push_back(std::wstring(L"SystemFileAssociations\\") + extension);

    EXPECT_TRUE(runs(L"Install"));
    EXPECT_EQ(newVerbs(), expectedVerbs(kEnglishVerbName, copy_, kInstalledSizes, types));

    EXPECT_TRUE(runs(L"Uninstall"));
    EXPECT_EQ(newVerbs(), VerbCommands{});
}

TEST_F(InstallCommand, APerUserInstallSaveAndLanguageChangeNeedNoRightToWriteTheMachinesClasses)
{
    // The types' key of the machine's classes, made for the case where the prefix has none yet.
    const ScopedDefaultValue types(HKEY_LOCAL_MACHINE, L"Software\\Classes\\SystemFileAssociations\\.pellavo-rights",
                                   L"");
    ASSERT_TRUE(types.applied());
    const struct {
        const char* where;
        std::wstring folder;
        DWORD exitCode;
        HKEY written;  // where the verbs stand after Install; null: nowhere
    } cases[] = {
        {"the user's programs", userProgramsFolder(), 0, HKEY_CURRENT_USER},
        {"Program Files", programFilesFolder(), kWriteFailed, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        const std::wstring copy = copies_.addAt(c.folder, kInstalledSettings);
        ASSERT_FALSE(copy.empty()) << "could not copy pellavo.exe";
        {
            // Nobody may add a key below it; reading it stays allowed.
            const ScopedKeySecurity denial(L"Software\\Classes\\SystemFileAssociations", 0,
                                           L"D:(D;;0x4;;;WD)(A;;KA;;;WD)");
            ASSERT_TRUE(denial.applied());
            EXPECT_TRUE(runsProgram(copy, quotedPath(copy) + L" Install", c.exitCode));
            if (c.written == HKEY_CURRENT_USER) {
                // The dialog writes the same classes: a language change shows no
                // message box (the command would not return while one showed),
                // and Save closes the dialog as it does when all went well.
                DialogSession dialog(copy);
                ASSERT_NE(dialog.window(), nullptr) << "the dialog did not show";
                EXPECT_TRUE(dialog.command(IDM_RUSSIAN)) << "a message box showed";
                EXPECT_TRUE(dialog.command(IDC_SAVE)) << "a message box showed";
                const ChildRun run = dialog.close();
                EXPECT_TRUE(run.finished && run.exitCode == 0);
            }
        }
        EXPECT_EQ(verbsNaming(copy, HKEY_CURRENT_USER),
                  c.written == HKEY_CURRENT_USER
                      ? expectedVerbs(verbNameFormatIn(shipped(L"rus_translate.txt")), copy, kInstalledSizes)
                      : VerbCommands{});
        EXPECT_EQ(verbsNaming(copy, HKEY_LOCAL_MACHINE), VerbCommands{});
        EXPECT_TRUE(runsProgram(copy, quotedPath(copy) + L" Uninstall"));
    }
}
