// The WebView2 loader: WebView2Loader.dll from the program's own folder, reached at
// run time so that the program starts (and reports the problem) without it.
#pragma once

#include "WebView2.h"

// What the loader library's export of this name does. A library or export that cannot
// be found gives HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), 0x80070002.
HRESULT CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder, ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler);
