#include "app/run_application.h"

#include <windows.h>

#include <vector>

#include "base/app_state.h"
#include "app/batch_server.h"
#include "app/command_line.h"
#include "app/message_loop.h"
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
    return runMessageLoop(dialog);
}

// Install and Uninstall show nothing: an installer learns of a write that
// failed by the exit code.
static int runInstall()
{
    // A list that could not be read is not the user's list: saving it would
    // drop the user's sizes and verbs, so everything stays as it is.
    std::vector<Utf8String> droppedWords;
    if (loadSettings(&droppedWords) != SettingsLoad::Read) return kSettingsUnread;
    // Words the list leaves out (a newer release's options, a typing
    // slip) stay in a backup of the file, which nobody is there to be told of.
    Utf8String backup;
    if (!droppedWords.empty() && !backUpSettings(backup)) return kWriteFailed;
    // The verb names come from the translation, so it is loaded before the save.
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
    case LaunchMode::Serve:
        runBatchServer(arguments);
        return 0;
    case LaunchMode::Resize:
        runResizeCommand(arguments);
        return 0;
    case LaunchMode::MainDialog:
        return runMainDialog();
    }
    return 0;
}
