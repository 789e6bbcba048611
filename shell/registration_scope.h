#pragma once

#include <windows.h>

// Whose Explorer gets the verbs: every user's when the program stands under
// a Program Files folder, where only an administrator puts it; else the
// user's who runs it, which needs no rights beyond the user's own.
enum class RegistrationScope { AllUsers, CurrentUser };

// The running executable's scope, decided afresh by where it lives now.
RegistrationScope registrationScope();

RegistrationScope otherScope(RegistrationScope scope);

// HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER, below which "Software\Classes"
// holds the scope's verbs and classes.
HKEY scopeRoot(RegistrationScope scope);

// "Software\Classes" below the scope's root.
inline constexpr wchar_t kClassesPath[] = L"Software\\Classes";
