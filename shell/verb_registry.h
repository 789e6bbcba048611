#pragma once

// Writes one "Resize WxH..." verb per size of the size list for every
// picture extension the installed codecs and the program's own read, named
// in the current language, into the classes of the program's scope. False
// when a verb could not be written.
bool registerVerbs();

// Removes every verb whose command runs this very executable, whatever its
// name or language, from every extension's key, whether or not a codec lists
// it now, and from the places of earlier versions, in the machine's and the
// user's classes; other programs' verbs stay. False when one of its verbs
// stays.
bool unregisterVerbs();
