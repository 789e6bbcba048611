#pragma once

#include "settings/preset.h"
#include "text/utf8_string.h"

// The COM class that takes a whole selection for one preset. Its id carries
// the preset (the width in the first group, the height in the next two, then
// eight bytes of the program's own, two of them changed by the options), so
// one class per preset needs no table, and the server started for it reads
// the preset from its own command line. A plain preset's id is the one its
// size has always had. The last byte tells an installation for every user
// from one for a user alone, so that where both are installed neither's
// classes shadow the other's.
Utf8String serverClassId(const Preset& preset, bool forAllUsers);

// Reads a class id text back, of either installation or of an earlier
// release; false unless it is the program's and names a valid preset.
bool parseServerClassId(const Utf8String& classId, Preset& preset);

// What the class's LocalServer32 runs: "<exe>" -serve WxH and the option
// words. COM adds " -Embedding" when it starts the server. Empty when it
// would not fit.
Utf8String serverCommand(const Utf8String& executablePath, const Preset& preset);

// Reads "-serve WxH" and option words at the start of the arguments,
// followed by nothing or a blank and anything (COM's -Embedding).
bool parseServeArguments(const Utf8String& arguments, Preset& preset);
