#include "ui/preset_options.h"

#include "i18n/translation_table.h"
#include "ui/resource.h"

namespace {

// In the order of CopyKind and KeptDetails.
const char* const kFormats[] = {"as the picture", "JPEG", "PNG", "WebP"};
const char* const kDetails[] = {"all", "no location", "colour profile only"};

bool showing = false;

// Refills a list with the texts' translations, keeping its choice.
template <size_t N>
void fillList(HWND dialog, int id, const char* const (&texts)[N])
{
    const LRESULT chosen = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    SendDlgItemMessageW(dialog, id, CB_RESETCONTENT, 0, 0);
    for (const char* text : texts) {
        SendDlgItemMessageW(dialog, id, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(translate(Utf8String::fromAnsi(text)).toWide().units()));
    }
    SendDlgItemMessageW(dialog, id, CB_SETCURSEL, chosen < 0 ? 0 : static_cast<WPARAM>(chosen), 0);
}

// The list's choice, or 0 when there is none.
int chosenIndex(HWND dialog, int id, int count)
{
    const LRESULT chosen = SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    return chosen >= 0 && chosen < count ? static_cast<int>(chosen) : 0;
}

}  // namespace

void fillOptionLists(HWND dialog)
{
    showing = true;
    fillList(dialog, IDC_FORMAT, kFormats);
    fillList(dialog, IDC_DETAILS, kDetails);
    SendDlgItemMessageW(dialog, IDC_QUALITY, EM_SETLIMITTEXT, 3, 0);
    showing = false;
}

void showOptions(HWND dialog, const PresetOptions& options)
{
    showing = true;
    SendDlgItemMessageW(dialog, IDC_FORMAT, CB_SETCURSEL, static_cast<WPARAM>(options.kind), 0);
    SendDlgItemMessageW(dialog, IDC_DETAILS, CB_SETCURSEL, static_cast<WPARAM>(options.details), 0);
    SetDlgItemTextW(dialog, IDC_QUALITY,
                    options.quality > 0 ? Utf8String::fromInt(options.quality).toWide().units() : L"");
    CheckDlgButton(dialog, IDC_NEVER_LARGER, options.neverLarger ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_KEEP_DATE, options.keepDate ? BST_CHECKED : BST_UNCHECKED);
    showing = false;
}

bool showingOptions()
{
    return showing;
}

PresetOptions shownOptions(HWND dialog, int32_t keptQuality)
{
    PresetOptions options;
    options.kind = static_cast<CopyKind>(chosenIndex(dialog, IDC_FORMAT, 4));
    options.details = static_cast<KeptDetails>(chosenIndex(dialog, IDC_DETAILS, 3));
    wchar_t digits[8] = {};
    GetDlgItemTextW(dialog, IDC_QUALITY, digits, 8);
    const int32_t quality = Utf8String::fromWide(digits, 0).toInt();
    options.quality = digits[0] == L'\0' ? 0
                      : quality >= kLowestQuality && quality <= kHighestQuality ? quality
                                                                               : keptQuality;
    options.neverLarger = IsDlgButtonChecked(dialog, IDC_NEVER_LARGER) == BST_CHECKED;
    options.keepDate = IsDlgButtonChecked(dialog, IDC_KEEP_DATE) == BST_CHECKED;
    return options;
}

bool isOptionControl(int controlId)
{
    return controlId == IDC_FORMAT || controlId == IDC_QUALITY || controlId == IDC_DETAILS ||
           controlId == IDC_NEVER_LARGER || controlId == IDC_KEEP_DATE;
}
