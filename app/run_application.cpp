#include "app/run_application.h"

#include <windows.h>

#include "app/command_line.h"

int runApplication(const Utf8String& arguments)
{
    MSG msg = {};
    switch (launchModeFor(arguments)) {
    case LaunchMode::Install:
    case LaunchMode::Uninstall:
    case LaunchMode::Resize:
    case LaunchMode::MainDialog:
        break;
    }
    return static_cast<int>(msg.wParam);
}
