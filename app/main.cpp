#include <windows.h>

#include "base/app_state.h"
#include "app/command_line.h"
#include "app/run_application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    appInstance = instance;
    // The arguments are cut from the process's own command line rather than
    // taken from the C runtime, so that their form never depends on its version.
    const Utf8String arguments = Utf8String::fromWide(commandLineArguments(GetCommandLineW()), 0);
    return runApplication(arguments);
}
