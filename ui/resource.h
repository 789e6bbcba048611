#pragma once

// Ids shared by pellavo.rc and the dialog procedures. Plain #defines so that
// windres reads them too.

// Controls that are never addressed, as in the SDK's winres.h.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDI_PELLAVO 107
#define IDB_BANNER 133
// The banner drawn half as large again, for screens of 144 dots per inch and more.
#define IDB_BANNER_LARGE 134

// Main dialog, its menu and controls.
#define IDD_MAIN 106
#define IDR_MAIN_MENU 109

#define IDC_SIZE_LIST 1002
#define IDC_SIZE_EDIT 1003
#define IDC_ADD 1004
#define IDC_SAVE 1005
#define IDC_CANCEL 1006
#define IDC_DELETE 1007
#define IDC_SIZE_LIST_LABEL 1103
#define IDC_SIZE_EDIT_LABEL 1104
// The options of the preset being added, or of the one selected.
#define IDC_FORMAT_LABEL 1120
#define IDC_FORMAT 1121
#define IDC_QUALITY_LABEL 1122
#define IDC_QUALITY 1123
#define IDC_DETAILS_LABEL 1124
#define IDC_DETAILS 1125
#define IDC_NEVER_LARGER 1126
#define IDC_KEEP_DATE 1127

#define IDM_ABOUT 104
#define IDM_WEB_PAGE 110
#define IDM_OPEN_HELP 111
#define IDM_RUSSIAN 1109
#define IDM_ENGLISH 1110

// About dialog. Its OK button is IDOK (1) from <windows.h>, so that Enter,
// which the dialog manager reports as IDOK, presses it.
#define IDD_ABOUT 1102

#define IDC_WEB_PAGE_BUTTON 1100
#define IDC_FEEDBACK_BUTTON 1101
#define IDC_DESCRIPTION 1105
#define IDC_VERSION_LABEL 1106
#define IDC_VERSION_NUMBER 1107
#define IDC_WEB_PAGE_LABEL 1108
#define IDC_BANNER 1111
#define IDC_SCOPE_TEXT 1112

// Progress window of a batch of pictures. Its Cancel button is IDCANCEL, so
// that Esc presses it; the OK button of its account is IDOK, which Enter presses.
#define IDD_PROGRESS 1200

#define IDC_PROGRESS_TEXT 1201
#define IDC_PROGRESS_BAR 1202
