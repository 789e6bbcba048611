#pragma once

#include "settings/preset.h"
#include "text/utf8_string.h"

// Registry key paths and values are formed for buffers of 260 UTF-16 units.
constexpr uint32_t kMaxRegistryText = 259;

// The verb's key path below HKEY_CLASSES_ROOT: the format's first "%s" takes
// the file type's shell prefix, the second the size text. A format that does
// not hold exactly these two and end in "\command" (a broken translation)
// is replaced by the English one, so that no verb is written in the wrong
// place, and so is one holding a byte that is no whole character. Empty when
// the path would not fit, or the prefix or size text is not whole characters.
Utf8String verbKeyPath(const Utf8String& format, const Utf8String& shellPrefix, const Utf8String& sizeText);

// The verb's command: the program's path in quotes, so that a path with
// blanks cannot start another program, then "-size WxH", the preset's option
// words and "%1". Empty when it would not fit.
Utf8String verbCommand(const Utf8String& executablePath, const Preset& preset);

// The verb's own key: its command key path without the "\command".
Utf8String verbKeyOf(const Utf8String& commandKeyPath);

// The verb's "Icon" value: the program's first icon, "<path>,0". Empty when
// it would not fit.
Utf8String verbIcon(const Utf8String& executablePath);

// A verb or class is the program's when its command starts the program: its
// first word is the program's path, in quotes or not, in any letter case.
bool isOwnVerbCommand(const Utf8String& command, const Utf8String& executablePath);

// The untranslated verb key format, also the translation key.
Utf8String verbKeyFormat();
