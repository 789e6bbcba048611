#pragma once

// The COM server's process lifetime: every object and every running batch
// holds a reference. When the last goes the server lingers a moment before
// it posts the quit message, so that a client that asks for it just then
// finds it still serving rather than exiting under its hands.
void addServerReference();
void releaseServerReference();

// Starts the first wait: a server that nobody asks for ends by itself.
void lingerUntilUsed();

// True once the quit message is on its way; no new object is made then.
bool serverIsStopping();
