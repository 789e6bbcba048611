#include "base/app_state.h"

HINSTANCE appInstance = nullptr;
