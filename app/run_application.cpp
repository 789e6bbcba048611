#include "app/run_application.h"

#include <windows.h>

#include "app/command_line.h"
#include "imaging/resize_command.h"

int runApplication(const Utf8String& arguments)
{
    MSG msg = {};
    switch (launchModeFor(arguments)) {
    case LaunchMode::Install:
    case LaunchMode::Uninstall:
    case LaunchMode::MainDialog:
        break;
    case LaunchMode::Resize:
        runResizeCommand(arguments);
        break;
    }
    return static_cast<int>(msg.wParam);
}
