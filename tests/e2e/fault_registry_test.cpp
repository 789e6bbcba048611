#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/win32_handles.h"
#include "tests/e2e/fault_checks.h"
#include "tests/e2e/install_fixture.h"
#include "tests/support/file_system.h"
#include "tests/support/registry_default_value.h"

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
    return RegSetValueExW(key.get(), nullptr, 0, value.type, value.data.data(),
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
