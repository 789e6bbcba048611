#pragma once

#include "text/utf8_string.h"

// What a Save or a change of language in the dialog could not write.
struct SaveFailures {
    bool language = false;   // current_translate.txt
    bool sizeList = false;   // settings.txt
    bool menuItems = false;  // a verb, written or removed
    // Whether the program works for all users, whose verbs only an administrator may write.
    bool forAllUsers = true;

    bool any() const { return language || sizeList || menuItems; }
};

// One line for each thing that could not be saved, then why and what to do,
// in the current language; empty when nothing failed.
Utf8String saveFailureMessage(const SaveFailures& failures);
