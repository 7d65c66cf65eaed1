// The framework layer in one include.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "CString.h"
#include "Controls.h"
#include "Dialog.h"
#include "Gdi.h"
#include "Menu.h"
#include "WinApp.h"
#include "WinThread.h"
#include "Wnd.h"
