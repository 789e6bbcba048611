#pragma once

// The COM server's process lifetime: every object, every running batch, every
// account on screen and every LockServer holds a reference. When the last
// goes, COM suspends the class objects, so that a client that asks for the
// class from then on gets a new server, never this one. This one lingers a
// moment before it posts the quit message: a client that already holds its
// class object may still make an object with it, which takes the class back
// into service. (Wine 8 suspends nothing: there a client in the linger still
// finds this server.)
void addServerReference();
void releaseServerReference();

// Starts the first wait: a server that nobody asks for ends by itself.
void lingerUntilUsed();

// True once the quit message is on its way; no new object is made then.
bool serverIsStopping();
