#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "tests/support/utf8_conversion.h"
#include "tests/support/window_reading.h"
#include "tests/ui/main_dialog_fixture.h"
#include "tests/ui/modal_window.h"
#include "ui/maker_addresses.h"
#include "ui/resource.h"

namespace {

const struct {
    int id;
    const char* key;
} kTranslatedItems[] = {{IDOK, "OK"},
                        {IDC_DESCRIPTION, "Create cool avatar"},
                        {IDC_VERSION_LABEL, "Version:"},
                        {IDC_WEB_PAGE_LABEL, "&Web-page"},
                        {IDC_FEEDBACK_BUTTON, "&Feedback"}};

struct AboutSeen {
    HWND owner = nullptr;
    bool ownerEnabled = true;
    std::wstring title;
    std::map<int, std::wstring> items;
    SIZE banner = {};
};

BOOL CALLBACK findBanner(HWND control, LPARAM data)
{
    if ((GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP) return TRUE;
    BITMAP bitmap = {};
    auto image = reinterpret_cast<HBITMAP>(SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (image && GetObjectW(image, sizeof bitmap, &bitmap))
        *reinterpret_cast<SIZE*>(data) = {bitmap.bmWidth, bitmap.bmHeight};
    return FALSE;
}

AboutSeen readAboutBox(HWND box)
{
    AboutSeen seen;
    seen.owner = GetWindow(box, GW_OWNER);
    seen.ownerEnabled = IsWindowEnabled(seen.owner) != 0;
    seen.title = windowText(box);
    for (const auto& item : kTranslatedItems) seen.items[item.id] = itemText(box, item.id);
    for (int id : {IDC_VERSION_NUMBER, IDC_WEB_PAGE_BUTTON, IDC_SCOPE_TEXT}) seen.items[id] = itemText(box, id);
    EnumChildWindows(box, findBanner, reinterpret_cast<LPARAM>(&seen.banner));
    return seen;
}

// The About box, opened as the user opens it: through the main dialog's menu.
class AboutDialogTest : public MainDialogTest {
protected:
    ModalRun openAbout(const std::function<void(HWND box, int tick)>& onTick)
    {
        return driveModalWindow(dialog_, [this] { command(IDM_ABOUT); }, onTick);
    }
};

}  // namespace

TEST_F(AboutDialogTest, ShowsTheCurrentLanguageWithTheVersionAndAddressUnchanged)
{
    for (const Language& language : {kNoTranslation, kRussian, kEnglish, kRussian}) {
        choose(language);
        const ExpectedTexts texts(language.shippedFile);
        ASSERT_EQ(texts.file().has_value(), language.shippedFile != nullptr) << language.name;
        AboutSeen seen;
        const ModalRun run = openAbout([&seen](HWND box, int) {
            seen = readAboutBox(box);
            SendMessageW(box, WM_COMMAND, IDOK, 0);
        });
        ASSERT_EQ(run.ticks, 1) << language.name << ": the About box did not open, or OK left it open";
        EXPECT_EQ(seen.owner, dialog_) << language.name;
        EXPECT_FALSE(seen.ownerEnabled) << language.name << ": the main dialog stays usable under a modal box";
        EXPECT_EQ(seen.title, texts.of("About program")) << language.name;
        for (const auto& item : kTranslatedItems)
            EXPECT_EQ(seen.items[item.id], texts.of(item.key)) << language.name << ", control " << item.id;
        const wchar_t webPageKey = accessKey(seen.items[IDC_WEB_PAGE_LABEL]);
        const wchar_t feedbackKey = accessKey(seen.items[IDC_FEEDBACK_BUTTON]);
        EXPECT_TRUE(webPageKey != 0 && feedbackKey != 0) << language.name;
        EXPECT_NE(upperCase(webPageKey), upperCase(feedbackKey)) << language.name;
        EXPECT_EQ(seen.items[IDC_VERSION_NUMBER], L"1.0") << language.name;
        // The tests run from the build folder, outside Program Files.
        EXPECT_EQ(seen.items[IDC_SCOPE_TEXT], texts.of("for this user")) << language.name;
        EXPECT_EQ(seen.items[IDC_WEB_PAGE_BUTTON], wideOf(Utf8String::fromAnsi(kMakerWebPage))) << language.name;
        EXPECT_EQ(seen.banner.cx, 275) << language.name;
        EXPECT_EQ(seen.banner.cy, 106) << language.name;
        EXPECT_TRUE(IsWindowEnabled(dialog_)) << language.name;
    }
    EXPECT_FALSE(takeQuitMessage());
}

TEST_F(AboutDialogTest, OkEnterEscAndTheCloseBoxCloseIt)
{
    const struct {
        const char* way;
        UINT message;
        WPARAM wParam;
        bool posted;  // a key goes through the modal loop's dialog keyboard handling
        bool closes;
    } ways[] = {
        {"IDCANCEL", WM_COMMAND, IDCANCEL, false, true},  {"Esc key", WM_KEYDOWN, VK_ESCAPE, true, true},
        {"IDOK", WM_COMMAND, IDOK, false, true},          {"Enter key", WM_KEYDOWN, VK_RETURN, true, true},
        {"close box", WM_CLOSE, 0, false, true},
    };
    for (const auto& way : ways) {
        bool openAfterward = false;
        const ModalRun run = openAbout([&](HWND box, int tick) {
            if (tick == 0) {
                if (!way.posted) SendMessageW(box, way.message, way.wParam, 0);
                else PostMessageW(box, way.message, way.wParam, 0);
                return;
            }
            openAfterward = true;
            SendMessageW(box, WM_COMMAND, IDOK, 0);
        });
        EXPECT_FALSE(run.forced) << way.way;
        EXPECT_EQ(openAfterward, !way.closes) << way.way;
        EXPECT_EQ(run.ticks, way.closes ? 1 : 2) << way.way;
    }
    EXPECT_FALSE(takeQuitMessage());
}
