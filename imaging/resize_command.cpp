#include "imaging/resize_command.h"

#include <windows.h>

#include "imaging/image_gdiplus.h"
#include "imaging/output_file.h"
#include "imaging/resize_arguments.h"
#include "shell/shell_open.h"

void runResizeCommand(const Utf8String& commandLine)
{
    ImageSize requested;
    Utf8String picturePath;
    if (!parseResizeArguments(commandLine, requested, picturePath)) return;

    ImageGDIPlus image;
    if (!image.load(picturePath)) return;
    const ImageSize fitted = image.fitSize(requested.width, requested.height);
    if (!image.scale(fitted.width, fitted.height)) return;

    const Utf8String extension = fileExtension(picturePath);
    Utf8String copyPath;
    if (!claimOutputFile(fileBaseName(picturePath), fitted, extension, copyPath)) return;
    if (!image.save(copyPath, mimeTypeForExtension(extension))) {
        // The name was created empty by this run, so nobody else's file goes.
        DeleteFileW(copyPath.toWide().units());
        return;
    }
    openWithShell(copyPath);
}
