#pragma once

#include "settings/image_size.h"
#include "text/utf8_string.h"

// The COM class that takes a whole selection for one size. Its id carries the
// size (the width in the first group, the height in the next two, then eight
// bytes of the program's own), so one class per size needs no table, and the
// server started for it reads the size from its own command line. The last
// byte tells an installation for every user from one for a user alone, so
// that where both are installed neither's classes shadow the other's.
Utf8String serverClassId(const ImageSize& size, bool forAllUsers);

// Reads a class id text back, of either installation or of an earlier
// release; false unless it is the program's and names a valid size.
bool parseServerClassId(const Utf8String& classId, ImageSize& size);

// What the class's LocalServer32 runs: "<exe>" -serve WxH. COM adds
// " -Embedding" when it starts the server. Empty when it would not fit.
Utf8String serverCommand(const Utf8String& executablePath, const ImageSize& size);

// Reads "-serve WxH" at the start of the arguments, followed by nothing or a
// blank and anything (COM's -Embedding).
bool parseServeArguments(const Utf8String& arguments, ImageSize& size);
