// Everything of Win32 the engine calls: base types, kernel services, windows and messages, the
// shell and COM's base interface.
#pragma once

#include "port/win32/kernel.h"
#include "port/win32/shellapi.h"
#include "port/win32/unknwn.h"
#include "port/win32/windows_types.h"
#include "port/win32/winuser.h"
