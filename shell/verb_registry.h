#pragma once

// Writes one "Resize WxH..." verb per size of the size list for the JPEG,
// PNG and GIF extensions, named in the current language. False when a verb
// could not be written.
bool registerVerbs();

// Removes every verb whose command runs this very executable, whatever its
// name or language, from the current places and from those of earlier
// versions; other programs' verbs stay. False when one of its verbs stays.
bool unregisterVerbs();
