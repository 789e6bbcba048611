#include "app/command_line.h"

const WideChar* commandLineArguments(const WideChar* commandLine)
{
    if (!commandLine) return commandLine;
    const WideChar* p = commandLine;
    bool insideQuotes = false;
    for (; *p != 0 && (insideQuotes || *p > 32); ++p) {
        if (*p == '"') insideQuotes = !insideQuotes;
    }
    while (*p != 0 && *p <= 32) ++p;
    return p;
}

LaunchMode launchModeFor(const Utf8String& arguments)
{
    if (arguments.compare(Utf8String::fromAnsi("Install"), false) == 0) return LaunchMode::Install;
    if (arguments.compare(Utf8String::fromAnsi("Uninstall"), false) == 0) return LaunchMode::Uninstall;
    if (arguments.find(Utf8String::fromAnsi("-serve "), 0, false) == 0) return LaunchMode::Serve;
    if (arguments.charCount() > 0) return LaunchMode::Resize;
    return LaunchMode::MainDialog;
}
