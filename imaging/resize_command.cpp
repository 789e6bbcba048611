#include "imaging/resize_command.h"

#include <exception>

#include "imaging/resize_arguments.h"
#include "imaging/resize_picture.h"
#include "shell/shell_open.h"

void runResizeCommand(const Utf8String& commandLine)
{
    // Memory that runs out, or a thread or length the library refuses, ends
    // the command like any other failure: quietly, with the claimed name
    // deleted as the stack unwinds. Uncaught, it would end the process
    // unwound or not, and the empty file would stay.
    try {
        Preset preset;
        Utf8String picturePath;
        if (!parseResizeArguments(commandLine, preset, picturePath)) return;
        const ShellOpenPreload shell;
        Utf8String copyPath;
        if (resizePictureFile(picturePath, preset, copyPath) == ResizeOutcome::Written) openWithShell(copyPath);
    } catch (const std::exception&) {
    }
}
