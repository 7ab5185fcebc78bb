// Our stand-ins for the application framework's names, over raw Win32.
#pragma once

#include "App.h"
#include "Controls.h"
#include "Dialog.h"
#include "String.h"
#include "Wnd.h"
