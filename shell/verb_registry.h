#pragma once

// Writes one "Resize WxH..." verb per size of the size list under the JPEG,
// GIF and PNG file types, named in the current language.
void registerVerbs();

// Removes every verb whose command runs this very executable, whatever its
// name or language; other programs' verbs stay.
void unregisterVerbs();
