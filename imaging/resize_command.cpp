#include "imaging/resize_command.h"

#include "imaging/resize_arguments.h"
#include "imaging/resize_picture.h"
#include "shell/shell_open.h"

void runResizeCommand(const Utf8String& commandLine)
{
    ImageSize requested;
    Utf8String picturePath;
    if (!parseResizeArguments(commandLine, requested, picturePath)) return;
    const ShellOpenPreload shell;
    Utf8String copyPath;
    if (resizePictureFile(picturePath, requested, copyPath) == ResizeOutcome::Written) openWithShell(copyPath);
}
