#include "ui/captions.h"

#include "i18n/translation_table.h"
#include "ui/resource.h"

static Utf8String translated(const char* key)
{
    return translate(Utf8String::fromAnsi(key));
}

void setItemCaption(HWND dialog, int controlId, Utf8String key)
{
    SetWindowTextW(GetDlgItem(dialog, controlId), translate(key).toWide().units());
}

// Items are addressed by position, so that the "Help" entry keeps its
// drop-down menu when only its text changes.
static void setMenuText(HMENU menu, UINT position, const char* key)
{
    const WideBuffer text = translated(key).toWide();
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = const_cast<wchar_t*>(text.units());
    SetMenuItemInfoW(menu, position, TRUE, &item);
}

void applyMainCaptions(HWND dialog)
{
    HMENU menuBar = GetMenu(dialog);
    setMenuText(menuBar, 0, "&Help");
    HMENU helpMenu = GetSubMenu(menuBar, 0);
    setMenuText(helpMenu, 0, "&Open help ...");
    setMenuText(helpMenu, 1, "&About ...");
    // Without a redraw the bar keeps showing the old language until something covers it.
    DrawMenuBar(dialog);

    SetWindowTextW(dialog, translated("Pellavo").toWide().units());
    const struct {
        int id;
        const char* key;
    } controls[] = {{IDC_SIZE_LIST_LABEL, "&List of size:"},
                    {IDC_SIZE_EDIT_LABEL, "&Enter size (WxH):"},
                    {IDC_FORMAT_LABEL, "&Format:"},
                    {IDC_QUALITY_LABEL, "&Quality (1-100):"},
                    {IDC_DETAILS_LABEL, "De&tails:"},
                    {IDC_NEVER_LARGER, "&Never larger"},
                    {IDC_KEEP_DATE, "&Keep the picture's date"},
                    {IDC_ADD, "&Add"},
                    {IDC_SAVE, "&Save"},
                    {IDC_CANCEL, "Cancel"},
                    {IDC_DELETE, "&Delete"}};
    for (const auto& control : controls) setItemCaption(dialog, control.id, Utf8String::fromAnsi(control.key));
}

void applyAboutCaptions(HWND dialog)
{
    SetWindowTextW(dialog, translated("About program").toWide().units());
    const struct {
        int id;
        const char* key;
    } controls[] = {{IDOK, "OK"},
                    {IDC_DESCRIPTION, "Create cool avatar"},
                    {IDC_VERSION_LABEL, "Version:"},
                    {IDC_WEB_PAGE_LABEL, "&Web-page"},
                    {IDC_FEEDBACK_BUTTON, "&Feedback"}};
    for (const auto& control : controls) setItemCaption(dialog, control.id, Utf8String::fromAnsi(control.key));
}
