#pragma once

#include <windows.h>

#include "settings/preset.h"

// The main dialog's option controls: the format and details lists, the
// quality field and the two checkboxes, which show the options of the
// preset being added or of the one selected.

// Fills the two lists in the interface's language, keeping their choices.
void fillOptionLists(HWND dialog);

// Shows the options; the controls' change notifications that this sends
// are to be ignored while showingOptions() says so.
void showOptions(HWND dialog, const PresetOptions& options);
bool showingOptions();

// The options the controls show. A quality field that holds no number from
// 1 to 100 keeps the quality given.
PresetOptions shownOptions(HWND dialog, int32_t keptQuality);

// Whether a control id is one of the option controls.
bool isOptionControl(int controlId);
