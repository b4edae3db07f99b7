// ShellExecuteW: "open" (a file, folder or web address) and "explore" (a folder) through the
// desktop's xdg-open, started detached. Refused (logged) when ORVEX_NO_SHELL is set or the video
// driver is offscreen or dummy, so tests and headless runs never start programs.
#pragma once

#include "port/win32/windows_types.h"

#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31

// Greater than 32 on success, else an SE_ERR_ code, as Windows returns it.
HINSTANCE ShellExecuteW(HWND window, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                        INT showCommand);
