#include "app/run_application.h"

#include <windows.h>

#include "base/app_state.h"
#include "app/command_line.h"
#include "i18n/language_selection.h"
#include "imaging/resize_command.h"
#include "settings/settings_file.h"
#include "shell/verb_registry.h"
#include "ui/main_dialog.h"
#include "ui/resource.h"

// Shows the size dialog and pumps messages until it posts the quit message;
// gives the quit code.
static int runMainDialog()
{
    HWND dialog = CreateDialogParamW(appInstance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, mainDialogProc, 0);
    if (!dialog) return 0;
    ShowWindow(dialog, SW_SHOW);
    MSG msg = {};
    // GetMessageW gives -1 on an error, which must end the loop too.
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

// Install and Uninstall show nothing: an installer learns of a write that
// failed by the exit code.
static int runInstall()
{
    // The verb names come from the translation, so it is loaded before the save.
    loadSettings();
    loadCurrentTranslation();
    const SaveResult saved = saveSettings();
    return saved.listWritten && saved.verbsWritten ? 0 : kWriteFailed;
}

int runApplication(const Utf8String& arguments)
{
    switch (launchModeFor(arguments)) {
    case LaunchMode::Install:
        return runInstall();
    case LaunchMode::Uninstall:
        return unregisterVerbs() ? 0 : kWriteFailed;
    case LaunchMode::Resize:
        runResizeCommand(arguments);
        return 0;
    case LaunchMode::MainDialog:
        return runMainDialog();
    }
    return 0;
}
